#include "core/engine_view.h"

#include "engine/figure.h"
#include "text/titles.h"

namespace corvane {

void engineViewSettings(Program& p) {
  Surface& sf = p.sf;
  sf.ScaleLeft(-110);
  sf.ScaleWidth(300);
  sf.ScaleTop(150);
  sf.DrawWidth(3);
  sf.BackColor(p.st.bco);
  sf.ForeColor(p.st.fco);
}

namespace {

void cylinders(Program& p) {
  for (double a : kEngines)
    cylinder(p, a);
}

}  // namespace

void engineStatics(Program& p, StaticsOrder order) {
  if (order == StaticsOrder::CylindersFirst) cylinders(p);
  titl(p);
  oilchamber(p, kTessimo);
  oilchamber(p, kLumivent);
  oilcham(p, kCorvane);
  if (p.st.plot == 0) oilchame(p, kCorvaneExhaustChamber);
  if (order == StaticsOrder::CylindersLast) cylinders(p);
  if (p.st.devva == 1) engineLabel(p);  // asked for in another view, or before a clear
}

}  // namespace corvane
