// Start of the program and its endless loop over the views.
#pragma once

#include "core/program.h"

namespace corvane {

// The activation handler: initialises every variable, fills the cam tables, clears the window
// and runs the main loop. Returns only by an exception: ProgramEnded from End.
[[noreturn]] void Form_Activate(Program& p);

// Runs the program on the host from its start until End, the host's events going to the
// handlers only while it runs. Exceptions other than End pass through.
void runUntilEnd(Surface& sf, Host& host);

// One pass of the endless loop: a crank cycle of the engine view or one graph pass.
void mainLoopPass(Program& p);

// One crank cycle of the engine view, with its pause and step-mode waits.
void enginePass(Program& p);

}  // namespace corvane
