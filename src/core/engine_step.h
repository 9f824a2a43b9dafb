// One step of the engine view: move the crank, compute the valves, erase every moving part
// at its old position and draw it at the new one.
#pragma once

#include "core/program.h"

namespace corvane {

void engineStep(Program& p);

// Every moving part drawn once where the last step left it, in the step's order, erasing
// nothing: for a refit, over the freshly drawn static figure.
void engineParts(Program& p);

}  // namespace corvane
