// Speed and load readouts and gauges of the graph views. Every abscissa is multiplied by s1
// so that they keep their place on the screen whatever the time view's scale.
#include "graphs/readouts.h"

#include <cmath>

#include "core/drawing.h"
#include "graphs/lift_heights.h"
#include "graphs/number_text.h"

namespace corvane {

namespace {

// A wide background stroke that wipes an old number.
void wipe(Program& p, double x1, double x2, double y) {
  const PenWidth pen(p.sf, 25);
  p.sf.Line(x1, y, x2, y, p.st.bco);
}

// A dot at the speed arc's point for speed t.
void gaugeDot(Program& p, double t, Colour c) {
  const GaugePoint g = gaugePoint(p.st.s1, t);
  p.sf.PSet(g.x, g.y, c);
}

// The gaps of the crank-angle view's gauges, drawn with the 25-pixel pen: the old gap is
// filled in fco, the new one cut in bco. There is no speed gap from 12 up, past the arc's end.
void gaugePointers(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  if (st.rpm1 < 12) gaugeDot(p, st.rpm1, st.fco);
  if (st.rpm < 12) gaugeDot(p, st.rpm, st.bco);
  // The load gap moves from where it stood to the load that the readout is about to show.
  sf.PSet(st.s1 * (90 + st.loadg / 2), 5, st.fco);
  sf.PSet(st.s1 * (90 + st.load / 2), 5, st.bco);
  st.loadg = st.load;
}

}  // namespace

GaugePoint gaugePoint(double s1, double t, double below) {
  const double theta = 2.8 - 0.2 * t;
  return {s1 * (110 + 50 * std::cos(theta)), 100 * std::sin(theta) - (25 + below)};
}

void gaugeBodies(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  const PenWidth pen(sf, 30);
  for (double t = 0.3; t <= 12; t += 0.1)
    gaugeDot(p, t, st.fco);
  sf.Line(77, 5, 143, 5, st.fco);  // the load bar
}

void readouts(Program& p, bool relabel) {
  State& st = p.st;
  Surface& sf = p.sf;
  {
    // R.P.M.: the wide pen stays on for the gauge gaps.
    const PenWidth pen(sf, 25);
    sf.Line(117 * st.s1, 41, 130 * st.s1, 41, st.bco);
    // Load: capped at 100 here, with no lower bound.
    st.load1 = st.load;
    st.load = loadPercent(st.endin, st.rpm);
    if (st.load > 100) st.load = 100;
    if (st.moo == kCrankView) gaugePointers(p);
  }
  sf.PSet(90 * st.s1, 50, st.bco);  // the caption's place, whether or not it is printed
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
  if (st.moo == kTimeView) sf.Print("           Time");
  if (st.moo1 == kTimeView && st.moo == kCrankView) sf.Print("   Crank Angle");
  {
    const PenWidth pen(sf, 1);
    sf.Line(155 * s1, -80, 170 * s1, -80);
    sf.Line(170 * s1, -76, 180 * s1, -80);
    sf.Line(170 * s1, -84, 180 * s1, -80);
    sf.Line(170 * s1, -76, 170 * s1, -84);
  }
  st.bco1 = st.bco;
}

}  // namespace corvane
