// One graph pass: clear on request, and redraw curves, areas, readouts and gauges only when
// speed, load, view or colours changed; then the automatic change and the pass's DoEvents.
#include "graphs/graph_view.h"

#include "graphs/auto_change.h"
#include "graphs/lift_curves.h"
#include "graphs/readouts.h"
#include "text/titles.h"

namespace corvane {

namespace {

// The time view never sees a speed this low from the mouse (1.2 at least) or the walk
// (about 1.17); it only keeps the axis width positive if handed less.
constexpr double kLeastAxisSpeed = 0.1;

// The speed from which the time view scales its axis: rpm, but never below that floor, so
// that ScaleWidth = 225·rpm and s1 = s/300 stay positive.
double timeAxisSpeed(double rpm) {
  return rpm > kLeastAxisSpeed ? rpm : kLeastAxisSpeed;
}

bool somethingChanged(const State& st) {
  return st.endin != st.endin1 || st.rpm != st.rpm1 || st.moo != st.moo1 || st.bco1 != st.bco;
}

// Time view: the axis is 225·rpm units wide, so the curves at X = 30·x shrink as the speed
// rises and their width stands for time; labels at s1·X keep their place on the screen.
void timeScale(Program& p, bool cleared) {
  State& st = p.st;
  st.sl = st.s;
  st.sl1 = st.s1;
  st.s = 225 * timeAxisSpeed(st.rpm);
  st.s1 = st.s / 300;
  p.sf.ScaleWidth(static_cast<float>(st.s));
  p.sf.ScaleLeft(static_cast<float>(-103 * st.s1));
  // Entering from the crank-angle view, or on a window cleared in this pass whose titles
  // (if any) stand at another view's scale.
  if (st.moo1 == kCrankView || cleared) {
    p.sf.Cls();
    titles(p);
  }
}

// Crank-angle view: a fixed 300-unit scale, set with the titles and gauge bodies on entry.
void crankScale(Program& p) {
  p.sf.ScaleLeft(-103);
  p.sf.ScaleWidth(300);
  p.st.s1 = 1;
  p.sf.Cls();
  titles(p);
  gaugeBodies(p);
}

void redrawChanged(Program& p, bool cleared) {
  const State& st = p.st;
  const bool relabel = st.moo != st.moo1 || st.bco1 != st.bco;
  if (st.moo == kTimeView) {
    timeScale(p, cleared);
    eraseLiftGraphs(p);
  } else if (relabel) {
    crankScale(p);
  }
  readouts(p, relabel);
  drawLiftGraphs(p);
  if (relabel) axisTitle(p);
}

}  // namespace

void graphPass(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  bool drew = false;
  if (st.clse == 1) {
    sf.Cls();
    st.clse = 0;
    drew = true;
    // Two space bars within one DoEvents can bring the view back without a pass of the other
    // graph view between: the cleared window is then entered afresh all the same.
    if (st.moo1 == st.moo) st.moo1 = st.moo == kTimeView ? kCrankView : kTimeView;
  }
  sf.ScaleTop(85);
  if (st.redraw == 1 || st.bco1 != st.bco) {
    sf.Cls();
    st.moo1 = kTimeView;
    st.redraw = 0;
    titles(p);
    drew = true;
  }
  if (somethingChanged(st)) {
    redrawChanged(p, drew);
    drew = true;
  }
  st.rpm1 = st.rpm;
  st.endin1 = st.endin;
  autoChange(p);
  st.moo1 = st.moo;
  p.host.DoEventsFrame(drew);
}

}  // namespace corvane
