// The program's starting values.
#pragma once

#include "core/program.h"

namespace corvane {

// The first part of Form_Activate: every variable gets its starting value.
void initialise(Program& p);

}  // namespace corvane
