#include "text/help_page.h"

namespace corvane {

void drawHelpPage(Program&) {}

void helpee(Program& p) {
  while (p.st.moo == 3)
    p.host.DoEventsWait();
}

}  // namespace corvane
