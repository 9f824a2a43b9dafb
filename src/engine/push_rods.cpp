// The hydraulic links in motion: the oil push rods of the two middle engines with their
// valves, tappets and oil-flow bars, and the oil columns of the Corvane valves. A solenoid
// valve that is shut shows as two short marks across the passage.
#include "engine/figure.h"

namespace corvane {

namespace {

// The two marks of a shut solenoid valve, at x across the passage.
void solenoidMark(Program& p, double x, double lowY1, double lowY2) {
  p.sf.Line(x, 48, x, 51, p.st.fco);
  p.sf.Line(x, lowY1, x, lowY2, p.st.fco);
}

// One middle engine: V, V1 the valve and its previous position, K, K1 the cam side.
struct Rod {
  double c, V, V1, K, K1;
};

// Erase group shared by both middle engines except the stem and the oil-flow bar.
void eraseCollarHeadRod(Program& p, const Rod& r) {
  const Colour b = p.st.bco;
  Surface& sf = p.sf;
  sf.Line(r.c - 1.2, r.V1 + 58, r.c + 1.2, r.V1 + 58, b);
  sf.Line(r.c - 10, r.V1, r.c + 10, r.V1, b);
  sf.Box(r.c - 1.2, r.V1 + 59, r.c + 1.2, r.V + 59, b);
  sf.Box(r.c - 1.2, r.K1 + 83, r.c + 1.2, r.K + 83, b);
}

void eraseTappet(Program& p, const Rod& r) {
  const Colour b = p.st.bco;
  p.sf.Line(r.c, r.K1 + 83, r.c, r.K1 + 110.5, b);
  p.sf.Line(r.c - 9, r.K1 + 110.5, r.c + 9, r.K1 + 110.5, b);
}

void drawOilRod(Program& p, const Rod& r) {
  p.sf.Box(r.c - 1.2, r.V + 59, r.c + 1.2, r.K + 83, kOil);
}

// The bar grows half a unit per unit of lost motion between cam and valve; its end stays.
void drawFlowBar(Program& p, double c, double lostMotion) {
  p.sf.Box(c - 3.5, 44.5, c - 3.5 - 0.5 * lostMotion, 49.5, kOil);
  p.sf.Box(c - 3.5, 44.5, c - 1.5, 49.5, kOil);
}

void drawTappet(Program& p, const Rod& r) {
  p.sf.Line(r.c, r.K + 83, r.c, r.K + 110.5, kGreen);
  p.sf.Line(r.c - 9, r.K + 110.5, r.c + 9, r.K + 110.5, kGreen);
}

void drawValve(Program& p, const Rod& r) {
  p.sf.Line(r.c, r.V, r.c, r.V + 58, kTeal);
  p.sf.Line(r.c - 1.2, r.V + 58, r.c + 1.2, r.V + 58, kTeal);
  p.sf.Line(r.c - 10, r.V, r.c + 10, r.V, kTeal);
}

void drawRodTop(Program& p, const Rod& r) {
  p.sf.Line(r.c - 1.2, r.K + 83, r.c + 1.2, r.K + 83, kGreen);
}

}  // namespace

// Tessimo: the erase runs when the valve moved or the long-lobe lift differs from the normal
// lobe's previous value; its oil-flow bar shows the lost motion of the previous step.
void tessimoRod(Program& p, Draw d) {
  State& st = p.st;
  st.xa = kTessimo;
  const Rod r{st.xa - st.ra / 4, st.lifta, st.lifta1, st.kkk, st.lift1};
  if (d == Draw::Step && (st.lifta != st.lifta1 || st.lift != st.lift1)) {
    p.sf.Line(r.c, r.V1, r.c, r.V, st.bco);
    p.sf.Line(r.c, r.V1 + 58, r.c, r.V + 58, st.bco);
    eraseCollarHeadRod(p, r);
    p.sf.Box(r.c - 3.5, 44.5, r.c - 5 - 2 * (r.V - r.K), 49.5, st.bco);
    eraseTappet(p, r);
  }
  drawOilRod(p, r);
  drawFlowBar(p, r.c, r.V1 - r.K1);
  drawTappet(p, r);
  drawValve(p, r);
  drawRodTop(p, r);
  if (st.ang < st.ingoing) solenoidMark(p, r.c - 2, 43, 46);
}

// Lumivent: erases the whole old stem, and its oil-flow bar shows the current lost motion.
void lumiventRod(Program& p, Draw d) {
  State& st = p.st;
  st.xa = kLumivent;
  const Rod r{st.xa - st.ra / 4, st.liftb, st.liftb1, st.lift, st.lift11};
  if (d == Draw::Step && (st.liftb != st.liftb1 || st.lift != st.lift11)) {
    p.sf.Line(r.c, r.V1, r.c, r.V1 + 58, st.bco);
    eraseCollarHeadRod(p, r);
    p.sf.Box(r.c - 3.5, 44.5, r.c - 3.5 - 0.5 * (r.V1 - r.K1), 49.5, st.bco);
    p.sf.Box(r.c - 3.5, 44.5, r.c - 1.5, 49.5, st.bco);
    eraseTappet(p, r);
  }
  drawOilRod(p, r);
  drawRodTop(p, r);
  drawFlowBar(p, r.c, r.V - r.K);
  drawValve(p, r);
  drawTappet(p, r);
  if (st.ang < st.outgoing) solenoidMark(p, r.c - 2, 43, 46);
}

// Corvane intake, c = 137.5: the oil beside the collar follows the valve down to the passage
// and the bar in the passage shortens as the valve opens. With the valve still and open, the
// shut solenoid's marks.
void corvaneIntakeRod(Program& p, Draw d) {
  State& st = p.st;
  Surface& sf = p.sf;
  st.xa = kCorvane;
  const double c = st.xa - st.ra / 4;
  const double liftc = st.liftc, liftc1 = st.liftc1;
  const bool step = d == Draw::Step;
  if (liftc != liftc1 || !step) {
    oilcham(p, kCorvane);
    if (step && liftc1 < -16) {
      sf.Box(c - 1.2, liftc1 + 60, c - 1, liftc + 49.5, st.bco);
      sf.Box(c + 0.8, liftc1 + 60, c + 1.2, liftc + 49.5, st.bco);
    }
    sf.Box(c - 1.2, liftc + 60, c - 1, 49.5, kOil);
    sf.Box(c + 0.8, liftc + 60, c + 1.2, 49.5, kOil);
    if (step) sf.Box(c - 19 - liftc1 / 2, 44.5, c - 18 - liftc / 2, 49.5, st.bco);
    sf.Box(c - 19 - liftc / 2, 44.5, c - 2, 49.5, kOil);
    if (liftc == -23) oilcham(p, kCorvane);
  }
  if (liftc == liftc1 && liftc < -16) solenoidMark(p, c - 2, 40, 46);
}

// Corvane exhaust, in the place of the hidden graphs: oil beside the collar, the bar in the
// passage, the red collar, and the shut solenoid's marks while the valve is held.
void corvaneExhaustColumn(Program& p, Draw d) {
  State& st = p.st;
  Surface& sf = p.sf;
  const double lifte = st.lifte, lifte1 = st.lifte1;
  const bool step = d == Draw::Step;
  if (step) {
    sf.Box(160.2, lifte1 + 59.5, 160.5, lifte + 48.5, st.bco);
    sf.Box(162.2, lifte1 + 59.5, 162.6, lifte + 48.5, st.bco);
    sf.Box(160.2, lifte1 + 59, 162.5, lifte1 + 65.5, st.bco);
  }
  sf.Box(160.2, lifte + 59.5, 160.5, 48.5, kOil);
  sf.Box(162.2, lifte + 59.5, 162.6, 48.5, kOil);
  // The bar in the passage ends where the background box cuts it: part of its drawing.
  if (lifte != lifte1 || !step) {
    sf.Box(160.2, 44.5, 173, 49.5, kOil);
    sf.Box(180, 44.5, 180 + lifte1 / 2, 49.5, st.bco);
  }
  sf.Box(160.2, lifte + 59, 162.5, lifte + 65.5, kRed);
  // Those boxes reach half a pen beyond their corners and nick the bore's walls beside the
  // collar's path: the walls go back over them.
  const double w = 148.9 + st.ra / 4;
  sf.Line(w - 2, 20, w - 2, 55, st.fco);
  sf.Line(w + 2, 20, w + 2, 43, st.fco);
  if (lifte == -23) {
    st.xa = kCorvaneExhaustChamber;
    const double x = st.xa + st.ra / 4 + 2;
    sf.Line(x, 48, x, 51, st.fco);
    sf.Line(x, 43, x, 46, st.fco);
  }
}

}  // namespace corvane
