// The fixed outlines of the oil chambers: a bore 4 units wide on the valve axis with a side
// passage, 8 units high, towards the solenoid valve. Drawn whole over whatever is there.
#include "engine/figure.h"

namespace corvane {

// Tessimo and Lumivent: bore open at the top, passage to the left.
void oilchamber(Program& p, double a) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double v = a - st.ra / 4;
  sf.Line(v - 2, 20, v - 2, 43.1f, st.fco);
  sf.Line(v - 2, 50.9f, v - 2, 72, st.fco);
  sf.Line(v + 2, 20, v + 2, 72, st.fco);
  sf.Line(v - 2, 43, v - 15, 43, st.fco);
  sf.Line(v - 2, 51, v - 15, 51, st.fco);
}

// Corvane intake: bore closed at the top, with oil above and below the passage.
void oilcham(Program& p, double a) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double v = a - st.ra / 4;
  sf.Box(v + 1.5, 51, v - 1.5, 53.5, kOil);
  sf.Box(v - 1.5, 44, v + 1.5, 49.2f, kOil);
  sf.Line(v - 2, 20, v - 2, 43.2f, st.fco);
  sf.Line(v - 2, 50.8f, v - 2, 55, st.fco);
  sf.Line(v + 2, 20, v + 2, 55, st.fco);
  sf.Line(v - 2, 55, v + 2, 55, st.fco);
  sf.Line(v - 2, 43, v - 15, 43, st.fco);
  sf.Line(v - 2, 51, v - 15, 51, st.fco);
}

// Corvane exhaust: the mirror image about the axis a + ra/4, passage to the right, one block
// of oil. Called with a = 148.9 so that the bore meets the exhaust valve at 150 + ra/4.4.
void oilchame(Program& p, double a) {
  const State& st = p.st;
  Surface& sf = p.sf;
  const double w = a + st.ra / 4;
  sf.Box(w + 1.5, 43, w - 1.5, 53.5, kOil);
  sf.Line(w + 2, 20, w + 2, 43, st.fco);
  sf.Line(w + 2, 51, w + 2, 55, st.fco);
  sf.Line(w + 2, 55, w - 2, 55, st.fco);
  sf.Line(w - 2, 20, w - 2, 55, st.fco);
  sf.Line(w + 2, 43, w + 15, 43, st.fco);
  sf.Line(w + 2, 51, w + 15, 51, st.fco);
}

}  // namespace corvane
