// The keyboard: every command key, the view cycle and the four keys that draw at once
// (colour reversal, the space bar into the help page, the graph key and the label key); and
// the keys without a character: arrows for speed and load, Page Down / Page Up for the views.
#include <algorithm>

#include "core/engine_view.h"
#include "engine/figure.h"
#include "input/handlers.h"
#include "input/pointer.h"
#include "text/help_page.h"
#include "text/titles.h"

namespace corvane {

namespace {

// "c": background and foreground change places; the window is cleared to the new background
// and the view in force is told (or, on the help page, shown again) to redraw.
void colourReversal(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  st.bco1 = st.bco;
  sf.BackColor(st.fco);  // a different colour: this clears the window
  sf.ForeColor(st.bco);
  st.bco = sf.BackColor();
  st.fco = sf.ForeColor();
  st.stall9 = 0;
  st.stall = 0;
  st.clse = 1;
  if (isGraphView(st.moo)) st.redraw = 1;
  if (st.moo == kEngineView) {
    st.cylcyl = 1;
    // The static figure again, in the new colours, over the window the reversal cleared.
    engineStatics(p, StaticsOrder::CylindersLast);
  }
  if (st.moo == kHelpView) helpee(p);
}

// Entering a view, from whichever side: step mode ends and the window is to be cleared; the
// engine view also redraws its figure, and the help page is shown and held until a later key
// leaves it.
void enterView(Program& p, int moo) {
  State& st = p.st;
  st.moo = moo;
  st.stall9 = 0;
  st.stall = 0;
  st.clse = 1;
  if (st.moo == kEngineView) st.cylcyl = 1;
  if (st.moo == kHelpView) helpee(p);  // returns only when a later key has left the page
}

// Space bar and Page Down: 2 engines -> 1 lift v. crank angle -> 0 lift v. time -> 3 help
// page -> 2. Page Up goes the other way round.
void nextView(Program& p) {
  enterView(p, Mod(4 + p.st.moo - 1, 4));
}
void previousView(Program& p) {
  enterView(p, Mod(p.st.moo + 1, 4));
}

// "p": the small lift graphs of the engine view cycle shown (1) -> to be erased (2) -> hidden
// (0); hidden, the Corvane exhaust chamber takes their place at once. In another view only
// the flags change: the engine view draws what they ask for when it is next shown.
void graphOption(Program& p) {
  State& st = p.st;
  st.plot = Mod(st.plot + 1, 3);
  st.plott = 1;
  if (st.plot == 0 && st.moo == kEngineView) oilchame(p, kCorvaneExhaustChamber);
}

// "t": the label beside the left engine's title changes; drawn at once in the engine view only.
void labelToggle(Program& p) {
  State& st = p.st;
  st.devva = Mod(st.devva + 1, 2);
  if (st.moo == kEngineView) engineLabel(p);
}

// One step of a setting towards a limit, never past it; a setting already beyond the limit
// (the random change, or the pointer in another view, put it there) stays where it is.
double towards(double value, double step, double limit) {
  return step > 0 ? std::max(value, std::min(value + step, limit))
                  : std::min(value, std::max(value + step, limit));
}

// Up and Down: the speed between the lowest one and what the pointer gives at the top row of
// the window in the view in force; stored in single precision, as the pointer stores it.
void speedKey(Program& p, double step) {
  State& st = p.st;
  const float top = speedAt(static_cast<float>(p.sf.userY(0)));
  const double rpm = towards(st.rpm, step, step > 0 ? top : kLowestRpm);
  if (rpm != st.rpm) st.rpm = static_cast<float>(rpm);
  steeFromRpm(st);
}

// Left and Right: the load between what the pointer gives at the window's first and last
// columns in the view in force.
void loadKey(Program& p, double step) {
  State& st = p.st;
  const Surface& sf = p.sf;
  const double left = loadAt(st, static_cast<float>(sf.userX(0)));
  const double right = loadAt(st, static_cast<float>(sf.userX(sf.clientWidth() - 1)));
  st.endin = towards(st.endin, step, step > 0 ? right : left);
  steeFromRpm(st);
}

}  // namespace

// No key matches two commands, so one switch stands for the tests made one after another.
// Each timing key tests the value before its step of 0.05 rad.
void Form_KeyPress(Program& p, int KeyAscii) {
  State& st = p.st;
  switch (KeyAscii) {
    case 27:  // ESC
      p.sf.Cls();
      p.host.End();
      break;  // not reached: End does not return
    case 'c':
    case 'C':
      colourReversal(p);
      break;
    case ' ':
      nextView(p);
      break;
    case '/':
      st.delno = Mod(st.delno + 1, 2);
      break;
    case '.':  // enter step mode, or let one more step run
      st.stall = Mod(st.stall + 1, 2);
      st.stall9 = 1;
      break;
    case ',':  // back to free running
      st.stall9 = 0;
      st.stall = 0;
      break;
    case 'a':
    case 'A':
      if (st.ingoing > 0.1) st.ingoing -= 0.05;
      break;
    case 's':
    case 'S':
      if (st.ingoing < 1.3 * st.pi) st.ingoing += 0.05;
      break;
    case 'l':
    case 'L':
      if (st.outgoing > 0.1) st.outgoing -= 0.05;
      break;
    case 'k':
    case 'K':
      if (st.outgoing < 2 * st.pi) st.outgoing += 0.05;
      break;
    case 'p':
    case 'P':
      graphOption(p);
      break;
    case 't':
    case 'T':
      labelToggle(p);
      break;
    default:  // every other character is ignored
      break;
  }
}

// Speed 0.25 a press; load 0.125, as far as the pointer moving 10 units at s1 = 1 takes it.
void Form_KeyDown(Program& p, NavKey KeyCode) {
  switch (KeyCode) {
    case NavKey::Up:
      speedKey(p, +0.25);
      break;
    case NavKey::Down:
      speedKey(p, -0.25);
      break;
    case NavKey::Left:
      loadKey(p, -0.125);
      break;
    case NavKey::Right:
      loadKey(p, +0.125);
      break;
    case NavKey::PageDown:
      nextView(p);
      break;
    case NavKey::PageUp:
      previousView(p);
      break;
  }
}

}  // namespace corvane
