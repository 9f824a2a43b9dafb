#include "graphs/graph_view.h"

namespace corvane {

void graphPass(Program& p) {
  p.st.moo1 = p.st.moo;
  p.host.DoEventsFrame(false);
}

}  // namespace corvane
