// Speed and load wander at random between fixed limits, one step per graph pass. Each walk
// turns at its limits and now and then at random; a step that would show less than 600 R.P.M.
// or a load outside −18 to 99 is taken back, keeping the turns it caused.
#include "graphs/auto_change.h"

#include <cmath>

#include "graphs/lift_heights.h"

namespace corvane {

namespace {

// A fixed wait in which no handler runs; it gives the automatic change in the time view the
// pace of one operating point every 50 ms.
void delays(Program& p) {
  p.host.Delay(0.05);
}

void step(Program& p) {
  State& st = p.st;
  // The speed step is doubled in single precision, so it stays below 2; the load step is
  // below 0.5 rad.
  st.rpm = st.rpm + st.drpm * static_cast<double>(2.0f * p.Rnd());
  st.endin = st.endin + st.dendin * (0.5 * static_cast<double>(p.Rnd()));
}

void turn(Program& p) {
  State& st = p.st;
  if (st.rpm > 9) st.drpm = -1;
  if (st.rpm < 3) st.drpm = +1;
  if (st.endin > 1.6) st.dendin = -1;
  if (st.endin < -2) st.dendin = +1;
  // A number is drawn for each random turn whether or not the walk is in its turning band.
  const float r1 = p.Rnd();
  if (std::abs(st.rpm - 5) < 3 && r1 > 0.8f) st.drpm = -st.drpm;
  const float r2 = p.Rnd();
  if (std::abs(st.endin) < 1 && r2 > 0.95f) st.dendin = -st.dendin;
}

}  // namespace

void autoChange(Program& p) {
  State& st = p.st;
  st.rpm2 = st.rpm;
  st.endin2 = st.endin;
  if (st.mo != 1) return;
  step(p);
  turn(p);
  st.load = loadPercent(st.endin, st.rpm);  // not capped: the take-back below needs it whole
  if (st.rpm < 0) st.rpm = 0;
  if (rpmReadout(st.rpm) < 600 || st.load < -18 || st.load >= 100) {
    st.endin = st.endin2;
    st.rpm = st.rpm2;
  }
  if (st.moo == kTimeView && st.delno == 0) delays(p);
}

}  // namespace corvane
