// The random change of speed and load in the graph views, switched on and off by a click.
#pragma once

#include "core/program.h"

namespace corvane {

// Run at the end of every graph pass: records rpm2 and endin2, and while mo = 1 takes one
// step of the two random walks (taking it back if it leaves the admissible range), then
// paces the time view with delays unless delno = 1.
void autoChange(Program& p);

}  // namespace corvane
