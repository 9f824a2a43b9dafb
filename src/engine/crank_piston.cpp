// The slider-crank mechanism of one engine: piston with its pin, connecting rod, crank arm,
// crank pin and main journal, moved by one step from (wx1, wy1, yy1) to (wx, wy, yy).
#include "engine/figure.h"

namespace corvane {

// The piston is ra wide, from 30 below its pin (skirt) to 40 above (crown). The old side
// walls are erased down to 15 below the pin only: the stretch between the old and the new
// skirt edge is erased by the first two lines.
void piston(Program& p, double a, Draw d) {
  const State& st = p.st;
  if (st.yy1 == 0) return;  // nothing drawn yet: the first step only sets the position
  Surface& sf = p.sf;
  const double half = st.ra / 2;
  const double yy = st.yy, yy1 = st.yy1;
  if (d == Draw::Step) {
    sf.Line(a - half, yy1 - 30, a - half, yy - 30, st.bco);
    sf.Line(a + half, yy1 - 30, a + half, yy - 30, st.bco);
    sf.Line(a - half, yy1 - 30, a + half, yy1 - 30, st.bco);
    sf.Line(a - half, yy1 + 40, a + half, yy1 + 40, st.bco);
    sf.Line(a - half, yy1 + 40, a - half, yy1 - 15, st.bco);
    sf.Line(a + half, yy1 + 40, a + half, yy1 - 15, st.bco);
  }
  sf.Line(a - half, yy - 30, a + half, yy - 30, st.fco);
  sf.Line(a - half, yy + 40, a + half, yy + 40, st.fco);
  sf.Line(a - half, yy - 30, a - half, yy + 40, st.fco);
  sf.Line(a + half, yy - 30, a + half, yy + 40, st.fco);
  if (d == Draw::Step) sf.Circle(a, yy1, 7, st.bco);
  sf.Circle(a, yy, 7, st.fco);
}

// Crank centre at (a, -295); the pin's x offset is halved so that on screen, where an x unit
// is twice a y unit, it runs on a circle. Erasing the old arm cuts into the main journal,
// which is therefore drawn again every step.
void crank(Program& p, double a, Draw d) {
  const State& st = p.st;
  if (st.yy1 == 0) return;
  Surface& sf = p.sf;
  const double pin1x = a + st.wx1 / 2, pin1y = st.wy1 - 295;
  const double pinx = a + st.wx / 2, piny = st.wy - 295;
  if (d == Draw::Step) {
    sf.Line(a, st.yy1, pin1x, pin1y, st.bco);
    sf.Line(a, -295, pin1x, pin1y, st.bco);
    sf.Circle(pin1x, pin1y, 10, st.bco);
  }
  sf.Line(a, st.yy, pinx, piny, st.fco);
  sf.Line(a, -295, pinx, piny, st.fco);
  sf.Circle(pinx, piny, 10, st.fco);
  sf.Circle(a, -295, 12, st.fco);
}

}  // namespace corvane
