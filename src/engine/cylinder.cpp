// The fixed outline of one cylinder: its two walls and the head face with the intake port
// left of the axis and the narrower exhaust port right of it.
#include "engine/figure.h"

namespace corvane {

void cylinder(Program& p, double a) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double ra = st.ra;
  sf.Line(a - ra / 1.9, -190, a - ra / 1.9, -14, st.fco);  // left wall
  sf.Line(a - ra / 2.25, -14, a - ra / 1.9, -14, st.fco);  // head, left of the intake port
  sf.Line(a + ra / 1.9, -190, a + ra / 1.9, -14, st.fco);  // right wall
  sf.Line(a + ra / 2.5, -14, a + ra / 1.9, -14, st.fco);   // head, right of the exhaust port
  sf.Line(a - ra / 20, -14, a + ra / 22, -14, st.fco);     // head between the ports
}

}  // namespace corvane
