// The captions of the engine view: the engines' names, the speed arrows at the left edge and
// the key reminder at the foot.
#include <string_view>

#include "core/drawing.h"
#include "engine/figure.h"
#include "text/titles.h"

namespace corvane {

namespace {

// Text at (x, y) in colour c, then the pen colour k again.
void textAt(Program& p, double x, double y, std::string_view text, Colour c, Colour k) {
  p.sf.ForeColor(c);
  textAt(p, x, y, text);
  p.sf.ForeColor(k);
}

void engineNames(Program& p, Colour k) {
  const State& st = p.st;
  const Colour outgoing = st.bco == 0 ? kCyan : kBlue;  // blue is lost on black
  textAt(p, -67, 145, "Normal");
  textAt(p, -67, 132, "Engine");
  textAt(p, 8, 145, "Ingoing", kRed, k);
  textAt(p, 8, 132, "Air");
  textAt(p, 8, 119, "Control");
  textAt(p, 82, 145, "Outgoing", outgoing, k);
  textAt(p, 82, 132, "Ingoing", kRed, k);
  textAt(p, 82, 119, "Air");
  textAt(p, 82, 106, "Control");
  textAt(p, 157, 145, "Outgoing", outgoing, k);
  textAt(p, 157, 132, "Air Control");
  textAt(p, 157, 119, "On Intake");
  textAt(p, 157, 106, "(& Exhaust)");
  textAt(p, -109, 52, "RPM");
}

// A down arrow below "RPM" and an up arrow above it, in the strip where the pointer's height
// sets the speed.
void speedArrows(Program& p) {
  Surface& sf = p.sf;
  const PenWidth pen(sf, 1);
  sf.Line(-104, 15, -104, 38);
  sf.Line(-106, 15, -102, 15);
  sf.Line(-106, 15, -104, 0);
  sf.Line(-102, 15, -104, 0);
  sf.Line(-104, 52, -104, 75);
  sf.Line(-106, 75, -102, 75);
  sf.Line(-106, 75, -104, 90);
  sf.Line(-102, 75, -104, 90);
}

void keyReminder(Program& p) {
  p.sf.ForeColor(kGrey);
  textAt(p, 97, -195, "MouseClick:");
  textAt(p, 97, -206, "auto change");
  textAt(p, 97, -223, "Dot Comma:");
  textAt(p, 99, -232, "step mode");
  textAt(p, -51, -195, "SpaceBar:");
  textAt(p, -55, -206, "change mode");
  textAt(p, -50, -223, "P: Graphs");
  textAt(p, -48, -239, "C: Color");
  textAt(p, 17, -195, "Move the spots");
  textAt(p, 22, -206, "to vary the");
  textAt(p, 19, -217, "solenoid valve");
  textAt(p, 29, -228, "timing");
}

}  // namespace

void titl(Program& p) {
  p.sf.ForeColor(p.st.fco);
  const Colour k = p.sf.ForeColor();
  engineNames(p, k);
  speedArrows(p);
  keyReminder(p);
  p.sf.ForeColor(k);
}

// The label beside the left engine's title, "Normal" or "Corvane", written over a wide
// background stroke that wipes the previous one; "Corvane" brings its oil chamber.
void engineLabel(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  const Colour keptFore = sf.ForeColor();
  {
    const PenWidth pen(sf, 25);
    sf.Line(-35, 135, 0, 135, st.bco);
  }
  sf.ForeColor(st.fco);
  textAt(p, -37, 145, st.devva == 0 ? "Normal" : "Corvane");
  sf.ForeColor(keptFore);
  if (st.devva == 1) oilcham(p, kCorvane);
}

}  // namespace corvane
