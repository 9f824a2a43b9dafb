// Start of the program and its endless loop over the views.
#pragma once

#include "core/program.h"

namespace corvane {

// The activation handler: initialises every variable, fills the cam tables, clears the window
// and runs the main loop. Returns only by an exception: ProgramEnded from End.
[[noreturn]] void Form_Activate(Program& p);

// The first part of Form_Activate: every variable gets its starting value.
void initialise(Program& p);

// One pass of the endless loop: a crank cycle of the engine view or one graph pass.
void mainLoopPass(Program& p);

// The engine view's scale, pen and colours, set at the start of every crank cycle.
void engineViewSettings(Program& p);

// One crank cycle of the engine view, with its pause and step-mode waits.
void enginePass(Program& p);

// The static figure of the engine view, drawn after a clear: cylinders, titles, oil chambers.
void engineStatics(Program& p);

// The pacing delay of the automatic change in the time view.
void delays(Program& p);

}  // namespace corvane
