// Captions of the graph views: the crank-angle marks over the ticks, the key reminder under
// the graphs and the names of the three mode graphs beside them.
#include "core/drawing.h"
#include "text/titles.h"

namespace corvane {

// The marks stand at fixed x, so in the time view they move on the screen with s1.
void titles1(Program& p) {
  textAt(p, -78, 67, "TDC");
  textAt(p, -81, 79, "overlap");
  textAt(p, 42, 67, "BDC");
  textAt(p, 161, 67, "TDC");
  textAt(p, 152, 79, "combustion");
}

void titles(Program& p) {
  titles1(p);
  const double s1 = p.st.s1;
  const Colour k = p.sf.ForeColor();
  p.sf.ForeColor(kGrey);
  textAt(p, -80 * s1, -65, "SpaceBar: Valve Lift versus Time or CrankAngle");
  textAt(p, -80 * s1, -80, "MouseClick: Manual Change or Random Change");
  p.sf.ForeColor(k);
  // The graph names keep their place on the screen: their x follows s1.
  textAt(p, 101 * s1, -15, "Tessimo");
  textAt(p, 88 * s1, -30, "Air Control Modes");
  textAt(p, 105 * s1, -115, "Lumivent");
  textAt(p, 85 * s1, -130, " Ingoing Air Control");
  textAt(p, 105 * s1, -145, "Modes");
  textAt(p, 105 * s1, -235, "Lumivent");
  textAt(p, 85 * s1, -250, "Outgoing Air Control");
  textAt(p, 105 * s1, -265, "Modes");
}

// Two wide background strokes across the whole width wipe the band of the marks, in the
// scale in force; s1 is that scale's factor, so that the strokes span the marks drawn in it.
void deltitles(Program& p, double s1) {
  Surface& sf = p.sf;
  const PenWidth pen(sf, 25);
  sf.Line(-150 * s1, 70, 200 * s1, 70, p.st.bco);
  sf.Line(-150 * s1, 60, 200 * s1, 60, p.st.bco);
}

}  // namespace corvane
