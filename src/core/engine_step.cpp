// One step of the engine view: the crank moves on, the seven valves follow their laws, and
// every moving part is erased at its old position and drawn at the new one. Events are let in
// at three fixed points of the step only.
#include "core/engine_step.h"

#include <cmath>

#include "core/lift_laws.h"
#include "engine/figure.h"

namespace corvane {

namespace {

// Crank pin (wx, wy) about the crank centre and piston pin yy, rod = 3.6 ra:
// yy = Sqr(rod^2 - wx^2) + wy - 295. The previous values are kept for the erase.
void moveCrank(State& st) {
  st.ang = st.ang - st.stee;
  st.wx1 = st.wx;
  st.wy1 = st.wy;
  st.yy1 = st.yy;
  st.wx = st.ra * std::sin(st.ang);
  st.wy = st.ra * std::cos(st.ang);
  st.rod = 3.6 * st.ra;
  st.yy = (std::sqrt(st.rod * st.rod - st.wx * st.wx) + st.wy) - 295;
}

void pistonsAndCranks(Program& p, Draw d) {
  for (double a : kEngines) {
    piston(p, a, d);
    crank(p, a, d);
  }
}

void keepPreviousLifts(State& st) {
  st.lift1 = st.kkk;
  st.lift11 = st.lift;
  st.lifta1 = st.lifta;
  st.liftb1 = st.liftb;
  st.liftc1 = st.liftc;
  st.lifte1 = st.lifte;
}

// The cams are drawn with the pen colour silver; in a step, events may run between the two
// groups.
void turnCams(Program& p, Draw d) {
  const Colour kept = p.sf.ForeColor();
  p.sf.ForeColor(kSilver);
  normalCams(p, d);
  if (d == Draw::Step) p.host.DoEvents();
  longCam(p, d);
  p.sf.ForeColor(kept);
}

void exhaustValves(Program& p, Draw d) {
  const State& st = p.st;
  outvalve(p, kNormalEngine, st.lifto, st.lifto1, d);
  outvalve(p, kTessimo, st.lifto, st.lifto1, d);
  outvalve(p, kLumivent, st.lifto, st.lifto1, d);
  outvalve(p, kCorvane, st.lifte, st.lifte1, d);
}

void spots(Program& p, Draw d) {
  ingoi(p, kTessimo, d);
  outgo(p, kLumivent, d);
  outgod(p, kCorvane, d);
  outgode(p, kCorvane, d);
}

}  // namespace

void engineStep(Program& p) {
  State& st = p.st;
  moveCrank(st);
  pistonsAndCranks(p, Draw::Step);
  keepPreviousLifts(st);

  normalIntakeLift(st);
  turnCams(p, Draw::Step);
  invalve(p, kNormalEngine, st.lift, st.lift1);
  corvaneIntakeLift(st);
  corvaneIntakeRod(p);
  invalve(p, kCorvane, st.liftc, st.liftc1);
  firstLiftGraph(p);
  if (st.plot == 2) hideLiftGraphs(p);

  st.kkk = st.lift;
  longIntakeLift(st);
  p.host.DoEvents();
  tessimoIntakeLift(st);
  tessimoRod(p);
  lumiventIntakeLift(st);
  lumiventRod(p);

  p.host.DoEvents();
  spots(p, Draw::Step);
  exhaustLift(st);
  corvaneExhaustLift(st);
  hydraulicLiftGraphs(p);
  if (st.plot == 0) corvaneExhaustColumn(p);
  exhaustValves(p, Draw::Step);
  if (st.plot == 0 && st.plott == 1) {
    oilchame(p, kCorvaneExhaustChamber);
    oilcham(p, kCorvane);
    st.plott = 0;
  }
}

// The conventional intake valve stands at kkk (lift holds the long lobe by then). The small
// lift graphs are left out: they record the cycle so far, and start again from here.
void engineParts(Program& p) {
  const State& st = p.st;
  pistonsAndCranks(p, Draw::InPlace);
  turnCams(p, Draw::InPlace);
  invalve(p, kNormalEngine, st.kkk, st.kkk, Draw::InPlace);
  corvaneIntakeRod(p, Draw::InPlace);
  invalve(p, kCorvane, st.liftc, st.liftc, Draw::InPlace);
  tessimoRod(p, Draw::InPlace);
  lumiventRod(p, Draw::InPlace);
  spots(p, Draw::InPlace);
  if (st.plot == 0) corvaneExhaustColumn(p, Draw::InPlace);
  exhaustValves(p, Draw::InPlace);
}

}  // namespace corvane
