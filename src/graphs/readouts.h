// Speed and load beside the graphs: the R.P.M. and % LOAD numbers, the two gauges of the
// crank-angle view, and the axis title with its arrow.
#pragma once

#include "core/program.h"

namespace corvane {

// The point of the speed arc for speed t: centre (110·s1, −25), 50·s1 wide and 100 high, at
// the angle 2.8 − 0.2·t (t = 0.3 at 157°, t = 12 at 23°); `below` units lower if asked.
struct GaugePoint {
  double x, y;
};
GaugePoint gaugePoint(double s1, double t, double below = 0);

// The two gauge bodies: the speed arc of thick dots and the load bar.
void gaugeBodies(Program& p);

// Steps 7 to 10 of a changed pass: wipe and print the R.P.M., move the gauge gaps (crank-angle
// view), then wipe, recompute and print the load. `relabel` prints the captions too.
void readouts(Program& p, bool relabel);

// The axis title ("Time" or "Crank Angle") under the graphs and the arrow after it.
void axisTitle(Program& p);

}  // namespace corvane
