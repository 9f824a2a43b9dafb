// The help page, the fourth view: drawn, then held in its own event loop while moo = 3.
#pragma once

#include "core/program.h"

namespace corvane {

// Draws the page and waits in DoEvents until moo is no longer 3, then puts back the
// ForeColor, BackColor and FontSize it found. Shown again while it waits (a colour reversal
// on the page), it draws itself and leaves the waiting to the page already shown.
void helpee(Program& p);

// Draws the page in the current colours and font size at its own scale (also after a resize).
void drawHelpPage(Program& p);

}  // namespace corvane
