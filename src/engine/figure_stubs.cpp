#include "engine/figure.h"

namespace corvane {

void piston(Program&, double) {}
void crank(Program&, double) {}
void cylinder(Program&, double) {}
void invalve(Program&, double, double, double) {}
void outvalve(Program&, double, double, double) {}
void oilchamber(Program&, double) {}
void oilcham(Program&, double) {}
void oilchame(Program&, double) {}
void cams(Program&) {}
void ingoi(Program&, double) {}
void outgo(Program&, double) {}
void outgod(Program&, double) {}
void outgode(Program&, double) {}

}  // namespace corvane
