// The solenoid timing spots: a dot beside the cylinder at the height the piston crown has at
// the crank angle where the solenoid valve opens. While mom = 1 each angle drifts at random
// back and forth between two limits.
#include <cmath>

#include "core/drawing.h"
#include "engine/figure.h"

namespace corvane {

namespace {

// One drifting timing angle: while its flag equals `rising` it grows by up to 0.005 per step
// until it passes `top`, then falls until it passes `bottom`. The limits are tested after the
// move, and the falling half runs in the same call as a turn.
struct Drift {
  int rising;
  double top, bottom;
};

void drift(Program& p, double& angle, int& flag, const Drift& d) {
  if (p.st.mom == 1 && flag == d.rising) {
    angle = angle + p.Rnd() * 0.005;
    if (angle > d.top) flag = 1 - d.rising;
  }
  if (p.st.mom == 1 && flag == 1 - d.rising) {
    angle = angle - p.Rnd() * 0.005;
    if (angle < d.bottom) flag = d.rising;
  }
}

// Crown height at crank angle t: ra cos t + Sqr((3.6 ra)^2 - (ra sin t)^2) - 255, the piston
// pin of the crank (centre at -295) plus 40 up to the crown.
double crownAt(const State& st, double t) {
  const double ra = st.ra;
  return ra * std::cos(t) +
         std::sqrt((3.6 * ra) * (3.6 * ra) - (ra * std::sin(t)) * (ra * std::sin(t))) - 255;
}

// Moves the spot from its previous height to the new one with a 7-pixel pen; in place, draws
// it where it stands.
void spot(Program& p, double x, double& y, double& y1, double angle, Colour c, Draw d) {
  if (d == Draw::Step) {
    y1 = y;
    y = crownAt(p.st, angle);
  }
  const PenWidth pen(p.sf, 7);
  if (d == Draw::Step) p.sf.PSet(x, y1, p.st.bco);
  p.sf.PSet(x, y, c);
}

}  // namespace

void ingoi(Program& p, double a, Draw d) {
  State& st = p.st;
  if (d == Draw::Step) drift(p, st.ingoing, st.hj, {0, 4, 0.2});
  const Colour c = st.ingoing < 1.05 * st.pi ? kRed : kYellow;
  spot(p, a - st.ra / 1.6, st.yyw, st.yyw1, st.ingoing, c, d);
}

// Cyan while the Lumivent solenoid acts late (outgoing air control), red when it acts early
// (ingoing air control), yellow in the band between.
void outgo(Program& p, double a, Draw d) {
  State& st = p.st;
  if (d == Draw::Step) drift(p, st.outgoing, st.hjo, {1, 6, 0.2});
  Colour c = kYellow;
  if (st.outgoing > 1.15 * st.pi) {
    c = kCyan;
  } else if (st.outgoing < 0.85 * st.pi) {
    c = kRed;
  }
  spot(p, a - st.ra / 1.6, st.yywo, st.yyw1o, st.outgoing, c, d);
}

void outgod(Program& p, double a, Draw d) {
  State& st = p.st;
  if (d == Draw::Step) drift(p, st.outgoingd, st.hjd, {1, 1.95 * st.pi, 1.1 * st.pi});
  spot(p, a - st.ra / 1.6, st.yywd, st.yywd1, st.outgoingd, kTeal, d);
}

// The exhaust spot stands right of the axis.
void outgode(Program& p, double a, Draw d) {
  State& st = p.st;
  if (d == Draw::Step) drift(p, st.outgoingde, st.hje, {1, 1.5 * st.pi, -0.25 * st.pi});
  spot(p, a + st.ra / 1.6, st.yywe, st.yywe1, st.outgoingde, kOrange, d);
}

}  // namespace corvane
