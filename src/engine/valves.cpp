// The cam-worked poppet valves: intake valves of the conventional and Corvane engines and the
// four exhaust valves. Each step erases the stretch of stem the valve has left and draws the
// stem whole; the head line is redrawn only when the valve moved or a redraw is due.
#include "engine/figure.h"

namespace corvane {

// Axis a - ra/4; head at lt, stem up to lt + 110.5 with a cross line of half-width 9 under
// the cam. The Corvane valve carries a collar inside its oil chamber.
void invalve(Program& p, double a, double lt, double lt1, Draw d) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double v = a - st.ra / 4;
  constexpr double L = 112.5;
  constexpr double w = 9;
  const bool step = d == Draw::Step;
  if (a == kCorvane) {
    // The lower edge of the old collar; rising, all of it that the new collar leaves below.
    if (step && lt > lt1) sf.Box(v - 1.18, 59 + lt1, v + 1.18, 59 + lt, st.bco);
    if (step && lt <= lt1) sf.Line(v - 1.18, 59 + lt1, v + 1.18, 59 + lt1, st.bco);
    sf.Box(v - 1.18, 59 + lt, v + 1.18, 65.5 + lt, kTeal);
  }
  if (step) {
    sf.Line(v, lt1, v, lt, st.bco);
    sf.Line(v, lt1 + L - 2, v, lt + L - 2, st.bco);
    sf.Line(v - w, lt1 + L - 2, v + w, lt1 + L - 2, st.bco);
  }
  sf.Line(v, lt, v, lt + L - 2, kTeal);
  sf.Line(v - w, lt + L - 2, v + w, lt + L - 2, kTeal);
  if (lt1 != lt || st.clse == 1 || !step) {
    if (step) sf.Line(v - 10, lt1, v + 10, lt1, st.bco);
    sf.Line(v - 10, lt, v + 10, lt, kTeal);
  }
}

// Axis a + ra/4.4; head 0.25 above the position, stem 90 long. The arguments shadow the
// exhaust lobe's own variables: for the Corvane engine they are lifte and lifte1.
void outvalve(Program& p, double a, double lifto, double lifto1, Draw d) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double e = a + st.ra / 4.4;
  const bool step = d == Draw::Step;
  if (step) {
    sf.Line(e, lifto1 + 0.25, e, lifto + 0.25, st.bco);
    sf.Line(e, lifto1 + 90 + 0.25, e, lifto + 90 + 0.25, st.bco);
  }
  sf.Line(e, lifto + 0.25, e, lifto + 90 + 0.25, kRed);
  if (lifto1 != lifto || st.cylcyl == 1 || !step) {
    if (step) sf.Line(e - 9, lifto1 + 0.25, e + 9, lifto1 + 0.25, st.bco);
    sf.Line(e - 9, lifto + 0.25, e + 9, lifto + 0.25, kRed);
  }
}

}  // namespace corvane
