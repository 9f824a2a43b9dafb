#include "core/main_loop.h"

#include "core/engine_step.h"
#include "core/engine_view.h"
#include "core/events.h"
#include "core/init.h"
#include "engine/figure.h"
#include "graphs/graph_view.h"

namespace corvane {

void Form_Activate(Program& p) {
  initialise(p);
  cams(p);
  p.sf.Cls();
  for (;;)
    mainLoopPass(p);
}

void mainLoopPass(Program& p) {
  if (isGraphView(p.st.moo)) {
    graphPass(p);
  } else {
    enginePass(p);
  }
}

namespace {

// A view shown and left within one batch of events (the space bar held down, through the
// graph views and the help page and back) leaves its own scale in force: the crank cycle then
// ends early, so that the next one clears the window and draws the figure again.
bool engineScaleInForce(const Surface& sf) {
  return sf.ScaleLeft() == -110 && sf.ScaleTop() == 150 && sf.ScaleWidth() == 300;
}

}  // namespace

void enginePass(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  Host& host = p.host;
  engineViewSettings(p);
  if (st.cylcyl == 1) {
    st.cylcyl = 0;
    host.DoEvents();
    sf.Cls();
  }
  // The static figure at the start of every cycle: erasing the moving parts nicks the
  // captions and outlines they pass over, and what a cycle at another speed nicked would
  // otherwise stay.
  engineStatics(p);
  // The loop counter is ang itself; each step advances it by -stee as well.
  const double start = -1.5 * st.pi;
  const double end = 2.5 * st.pi;
  const double step = 2 * st.pi / 5000;
  for (st.ang = start; st.ang <= end; st.ang += step) {
    if (isGraphView(st.moo) || !engineScaleInForce(sf)) break;
    while (st.stall == 1)
      host.DoEventsWait();
    if (isGraphView(st.moo) || !engineScaleInForce(sf)) break;
    if (st.stall9 == 1) st.stall = 1;
    host.DoEventsUntilStep();
    if (!engineScaleInForce(sf)) break;
    engineStep(p);
    st.ang1 = st.ang;
    host.DoEvents();
    while (st.stall == 1)
      host.DoEventsWait();
  }
  host.DoEvents();
  host.DoEvents();
}

void runUntilEnd(Surface& sf, Host& host) {
  Program program(sf, host);
  Dispatcher dispatcher(program);
  struct Delivering {  // no event reaches the dispatcher once it is gone
    Host& host;
    ~Delivering() { host.setSink(nullptr); }
  } delivering{host};
  host.setSink(&dispatcher);
  try {
    Form_Activate(program);
  } catch (const ProgramEnded&) {
  }
}

}  // namespace corvane
