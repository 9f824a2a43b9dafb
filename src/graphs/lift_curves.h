// The three lift graphs of the graph views: valve-time area, axis, ticks and curve of each,
// and the time view's pass that erases them at the scale they were drawn in.
#pragma once

#include "core/program.h"

namespace corvane {

// Steps 11 to 13 of a changed pass: bottom, top, then middle graph at the scale in force.
void drawLiftGraphs(Program& p);

// Draws again in bco, at the previous time-view scale (sl, sl1) and with that pass's speed
// (rpm1), what it drew with drawLiftGraphs; then wipes and redraws the crank-angle marks at
// the new scale (s, s1).
void eraseLiftGraphs(Program& p);

// Whether the middle part of the tick at 53·pi shows at horizontal scale factor s1: it is
// left out of the time view while 1.2 <= s1 <= 1.95.
inline bool showsMiddleTick(double s1) {
  return s1 < 1.2 || s1 > 1.95;
}

}  // namespace corvane
