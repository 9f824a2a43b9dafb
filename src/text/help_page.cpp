// The help page, the fourth view: thirty-eight lines about the four engines and the controls,
// held in its own event loop while moo = 3.
#include "text/help_page.h"

#include <array>
#include <string_view>

namespace corvane {

namespace {

struct PageLine {
  double y;
  std::string_view text;
};

// Each line is written where it is broken; nothing is measured or wrapped. Every line begins
// with one space, and the control lines keep their double spaces.
constexpr std::array<PageLine, 38> kPage{{
    {150,
     " Left: a typical / conventional engine wherein the load is controlled by a throttle valve "
     "(not shown)."},
    {130,
     " Middle left: the Tessimo engine controls the load by closing its intake valve (blue) early "
     "(ingoing air control). Between the cam"},
    {120,
     " and the valve there is an oil push rod (orange). When the on-off solenoid valve opens, the "
     "oil escapes, the push rod collapses and"},
    {110,
     " the valve spring closes the intake valve, even though the cam would still hold it open."},
    {100,
     " The red spot beside the cylinder marks the timing of the solenoid valve: the solenoid valve "
     "opens when the top of the piston"},
    {90, " passes the spot."},
    {80,
     " Advancing the timing closes the intake valve earlier, so that less air is trapped in the "
     "cylinder and the torque is reduced;"},
    {70, " retarding it lets more air in and raises the torque."},
    {60, " The timing is set by moving the mouse pointer up or down near the red spot."},
    {50, " "},
    {40,
     " Middle right: the Lumivent engine has a long cam lobe, and its intake valve can control "
     "either the outgoing or the ingoing air."},
    {30,
     " In outgoing air control the valve closes while the piston moves towards top dead centre, "
     "and so it stops the air in the"},
    {20,
     " cylinder from returning to the intake manifold. In ingoing air control the valve closes "
     "while the piston moves towards bottom"},
    {10, " dead centre, and so it stops more air from entering the cylinder."},
    {0,
     " Advancing the opening of the solenoid valve collapses the oil push rod earlier, closes the "
     "valve earlier and raises the load."},
    {-10,
     " Advancing it further (the spot turns yellow and then red) puts the engine into ingoing air "
     "control, in which it does everything"},
    {-20, " that the Tessimo engine does."},
    {-30, " "},
    {-40,
     " Right: in the Corvane engine the oil and the solenoid valves act on the closing of the "
     "valves only. Each valve opens mechanically,"},
    {-50,
     " with the same steep opening ramp as in the conventional engine, and the oil then holds it "
     "open for as long as wanted: the valve"},
    {-60, " duration is extended at will, and the valve closes when its solenoid valve opens."},
    {-70,
     " On the exhaust side a mechanical opening matters most, because the exhaust valve has to "
     "open against the high pressure of the"},
    {-80,
     " burnt gas in the cylinder, a force that the oil and a small solenoid valve could hardly "
     "overcome."},
    {-90,
     " Outgoing air control changes the thermodynamic cycle: the effective compression stroke is "
     "shorter than the expansion stroke, and"},
    {-100,
     " this raises the efficiency at part load, still more so in combination with a variable "
     "compression ratio."},
    {-110,
     " Compare the quantities of oil that pass the solenoid valves of the engines, and the "
     "durations of the cam lobes of the modes."},
    {-120,
     " The Corvane valve also has a built-in smooth landing: it slows down just before it reaches "
     "its seat."},
    {-130,
     " As the oil only holds a valve that the cam has already opened, the forces are much weaker "
     "than in the other systems, and a purely"},
    {-140, " electrical control of the closing would be possible."},
    {-160,
     " The higher the mouse pointer position at window's left side, the higher the r.p.m. and the "
     "bigger the step.  By clicking once the"},
    {-170,
     " mouse, the animation proceeds automatically: the r.p.m. and the load change randomly.  By "
     "the dot  (.)  key the animation enters"},
    {-180,
     " into the step-mode.  Any further pressing of the dot key proceeds the animation by one "
     "step.  By the comma (,) key the normal"},
    {-190,
     " mode is re-activated.  By the P key  the valve lift profiles of the various modes "
     "hide/unhide.  By the C key  the colors reverse."},
    {-200,
     " Pressing once the SpaceBar key, the valve-lift-versus-crank-angle mode is activated. By "
     "moving the mousepointer up-down and"},
    {-210, " left-right the r.p.m and the load are selected."},
    {-220,
     " Pressing once more the SpaceBar key, the valve-lift-versus-time mode is selected. The "
     "colored area is the valve-time-area."},
    {-230,
     " Finally, by pressing the ESC key, or by double-clicking the mouse, the animation ends."},
    {-240,
     " Arrow keys: r.p.m. up and down, load left and right.  Page Down / Page Up: next / previous "
     "view."},
}};

// The page's own scale; it stays in force after the page until the next view sets its own.
void pageScale(Surface& sf) {
  sf.ScaleLeft(-115);
  sf.ScaleWidth(300);
  sf.ScaleTop(165);
}

// Each line as text at (-102, y): its corner dot in the BackColor read back, then the text.
void printPage(Surface& sf) {
  for (const PageLine& line : kPage) {
    sf.PSet(-102, line.y, sf.BackColor());
    sf.Print(line.text);
  }
}

// The page in fco on bco at 12 points; returns what it found in force.
HelpLevels::Kept showPage(Program& p) {
  Surface& sf = p.sf;
  pageScale(sf);
  p.st.clse = 1;
  HelpLevels::Kept kept;
  kept.fore = sf.ForeColor();
  kept.back = sf.BackColor();
  sf.ForeColor(p.st.fco);
  sf.BackColor(p.st.bco);
  sf.Cls();
  kept.fontSize = sf.FontSize();
  sf.FontSize(12);
  printPage(sf);
  return kept;
}

// The open pages put back, innermost first, what each kept: font size, ForeColor, BackColor
// (a change of BackColor clears the window). The first page's values come last and so stay
// in force; of the inner pages only their clears could show, and any clear leaves the window
// in the last BackColor, the first page's, so one clear stands for them all.
void leavePages(Program& p) {
  Surface& sf = p.sf;
  const HelpLevels& h = p.help;
  const Colour found = sf.BackColor();
  const bool clears = !(h.innerBacksSame && found == h.first.back);
  sf.FontSize(h.first.fontSize);
  sf.ForeColor(h.first.fore);
  if (clears && found == h.first.back) sf.Cls();  // an inner page cleared, the first came back
  sf.BackColor(h.first.back);
}

}  // namespace

void drawHelpPage(Program& p) {
  pageScale(p.sf);
  p.sf.Cls();
  printPage(p.sf);
}

// The first page waits until a space bar leaves it. A page shown again while it waits (colour
// reversal, or the space bar round the views within one batch of events) would wait for the
// same thing and be left at the same moment, so it only draws itself and adds what it kept to
// the record; the first page's loop serves it, and key repeat never deepens the stack.
void helpee(Program& p) {
  const HelpLevels::Kept kept = showPage(p);
  HelpLevels& h = p.help;
  if (h.open > 0) {
    ++h.open;
    h.innerBacksSame = h.innerBacksSame && kept.back == h.first.back;
    return;
  }
  h = HelpLevels{1, kept, true};
  // Cleared also when End unwinds through the page.
  struct Closing {
    HelpLevels& levels;
    ~Closing() { levels = HelpLevels{}; }
  } closing{h};
  while (p.st.moo == kHelpView)
    p.host.DoEventsWait();
  leavePages(p);
}

}  // namespace corvane
