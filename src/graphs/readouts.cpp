// Speed and load readouts and gauges of the graph views. Every abscissa is multiplied by s1
// so that they keep their place on the screen whatever the time view's scale.
#include "graphs/readouts.h"

#include <cmath>
#include <string_view>

#include "graphs/lift_heights.h"
#include "graphs/number_text.h"

namespace corvane {

namespace {

void textAt(Program& p, double x, double y, std::string_view text) {
  p.sf.PSet(x, y, p.st.bco);
  p.sf.Print(text);
}

// A wide background stroke that wipes an old number; the pen width is put back after it.
void wipe(Program& p, double x1, double x2, double y) {
  State& st = p.st;
  st.dw = p.sf.DrawWidth();
  p.sf.DrawWidth(25);
  p.sf.Line(x1, y, x2, y, st.bco);
  p.sf.DrawWidth(st.dw);
}

// The gaps of the crank-angle view's gauges, drawn with the 25-pixel pen: the old gap is
// filled in fco, the new one cut in bco. There is no speed gap from 12 up, past the arc's end.
void gaugePointers(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  if (st.rpm1 < 12) sf.PSet(gaugeX(st.s1, st.rpm1), gaugeY(st.rpm1), st.fco);
  if (st.rpm < 12) sf.PSet(gaugeX(st.s1, st.rpm), gaugeY(st.rpm), st.bco);
  // The load gap moves from where it stood to the load that the readout is about to show.
  sf.PSet(st.s1 * (90 + st.loadg / 2), 5, st.fco);
  sf.PSet(st.s1 * (90 + st.load / 2), 5, st.bco);
  st.loadg = st.load;
}

}  // namespace

double gaugeX(double s1, double t) {
  return s1 * (110 + 50 * std::cos(2.8 - 0.2 * t));
}
double gaugeY(double t) {
  return 100 * std::sin(2.8 - 0.2 * t) - 25;
}

void gaugeBodies(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  st.dw = sf.DrawWidth();
  sf.DrawWidth(30);
  for (double t = 0.3; t <= 12; t += 0.1)
    sf.PSet(gaugeX(st.s1, t), gaugeY(t), st.fco);
  sf.Line(77, 5, 143, 5, st.fco);  // the load bar
  sf.DrawWidth(st.dw);
}

void readouts(Program& p, bool relabel) {
  State& st = p.st;
  Surface& sf = p.sf;
  // R.P.M.: the wide pen stays on for the gauge gaps.
  st.dw = sf.DrawWidth();
  sf.DrawWidth(25);
  sf.Line(117 * st.s1, 41, 130 * st.s1, 41, st.bco);
  // Load: capped at 100 here, with no lower bound.
  st.load1 = st.load;
  st.load = loadPercent(st.endin, st.rpm);
  if (st.load > 100) st.load = 100;
  if (st.moo == 1) gaugePointers(p);
  sf.DrawWidth(st.dw);
  sf.PSet(90 * st.s1, 50, st.bco);
  if (relabel) sf.Print("R.P.M. : ");
  st.rpmd = rpmReadout(st.rpm);
  textAt(p, 113 * st.s1, 50, numberText(st.rpmd));

  wipe(p, 117 * st.s1, 130 * st.s1, 26);
  if (relabel) textAt(p, 86 * st.s1, 35, "% LOAD : ");
  textAt(p, 116 * st.s1, 35, numberText(st.load));
}

void axisTitle(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  const double s1 = st.s1;
  wipe(p, 111 * s1, 150 * s1, -80);
  sf.PSet(111 * s1, -72, st.bco);
  if (st.moo == 0) sf.Print("           Time");
  if (st.moo1 == 0 && st.moo == 1) sf.Print("   Crank Angle");
  st.dw = sf.DrawWidth();
  sf.DrawWidth(1);
  sf.Line(155 * s1, -80, 170 * s1, -80);
  sf.Line(170 * s1, -76, 180 * s1, -80);
  sf.Line(170 * s1, -84, 180 * s1, -80);
  sf.Line(170 * s1, -76, 170 * s1, -84);
  sf.DrawWidth(st.dw);
  st.bco1 = st.bco;
}

}  // namespace corvane
