// The valve-lift graph views: lift against crank angle (moo = 1) and against time (moo = 0).
#pragma once

#include "core/program.h"

namespace corvane {

// One pass of the graph view, ending with the automatic change and the pass's DoEvents.
void graphPass(Program& p);

}  // namespace corvane
