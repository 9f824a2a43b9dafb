#include "input/handlers.h"

namespace corvane {

void Form_KeyPress(Program& p, int KeyAscii) {
  if (KeyAscii == 27) {
    p.sf.Cls();
    p.host.End();
  }
}
void Form_MouseMove(Program&, int, int, float, float) {}
void Form_MouseDown(Program&, int, int, float, float) {}
void Form_DblClick(Program& p) {
  p.host.End();
}

}  // namespace corvane
