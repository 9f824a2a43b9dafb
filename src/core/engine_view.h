// The engine view's setting up: its scale, pen and colours, and the static figure drawn over a
// cleared window.
#pragma once

#include "core/program.h"

namespace corvane {

// The engine view's scale, pen and colours, set at the start of every crank cycle.
void engineViewSettings(Program& p);

// The order in which the static figure's parts are drawn. The main loop and a refit draw the
// cylinders first; the colour reversal draws them last, over the captions and chambers.
enum class StaticsOrder { CylindersFirst, CylindersLast };

// The static figure of the engine view: cylinders, titles, oil chambers, and the left engine's
// label if "Corvane" was asked for.
void engineStatics(Program& p, StaticsOrder order = StaticsOrder::CylindersFirst);

}  // namespace corvane
