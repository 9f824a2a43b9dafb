// One step of the engine view: move the crank, compute the valves, erase every moving part
// at its old position and draw it at the new one.
#pragma once

#include "core/program.h"

namespace corvane {

void engineStep(Program& p);

}  // namespace corvane
