// The event handlers of the window: keyboard (character keys, and the arrow and page keys),
// mouse and double click. X and Y are user units of the scale in force when the event is
// delivered.
#pragma once

#include "core/program.h"

namespace corvane {

void Form_KeyPress(Program& p, int KeyAscii);
// The keys that produce no character: arrows, Page Down and Page Up.
void Form_KeyDown(Program& p, NavKey KeyCode);
void Form_MouseMove(Program& p, int Button, int Shift, float X, float Y);
void Form_MouseDown(Program& p, int Button, int Shift, float X, float Y);
void Form_DblClick(Program& p);

}  // namespace corvane
