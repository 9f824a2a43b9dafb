// The seven valve lift laws, evaluated once per step in the order the step calls them.
#include "core/lift_laws.h"

#include <cmath>

namespace corvane {

namespace {

constexpr double kSeat = -16;  // intake valve on its seat
constexpr double kHold = -23;  // the Corvane valves are held 7 units open

// A hydraulic valve that would pass the seat moves halfway from where it was to -16, and
// once it sits exactly on -16 stays there.
double land(double v, double previous) {
  if (v > kSeat) v = previous == kSeat ? kSeat : (previous + kSeat) / 2;
  return v;
}

// Oil push rod released by its solenoid: one step still, then 2 units per step towards the
// seat. n counts the steps since the solenoid opened (1 at the first).
double pushRodRelease(double captured, int n) {
  double v = captured + 2 * (n - 1);
  if (n == 1) v = captured;
  if (n == 2) v = captured + n;
  return v;
}

}  // namespace

// theta = 2 ang / 1.5 - 0.35 pi;  L = (sin theta + 0.15 cos 2 theta) 8 + 12.6 inside the
// window -0.1 pi < ang < 1.4 pi, else 3.4;  lift = -12.6 - L.
double normalLobeAt(double ang, double pi) {
  double L = 3.4;
  if (ang > -0.1 * pi && ang < 1.4 * pi) {
    const double theta = (ang * 2) / 1.5 - 0.35 * pi;
    L = (std::sin(theta) + 0.15 * std::cos(2 * theta)) * 8 + 12.6;
  }
  return -12.6 - L;
}

// theta = 2 ang / 1.7 - 0.75 pi;  E = (sin theta + 0.15 cos 2 theta) 7 + 11.5 inside the
// window -1.5 pi < ang < 0.2 pi, else 3.475;  lifto = -12.6 - E.
double exhaustLobeAt(double ang, double pi) {
  double E = 3.475;
  if (ang > -1.5 * pi && ang < 0.2 * pi) {
    const double theta = (ang * 2) / 1.7 - 0.75 * pi;
    E = (std::sin(theta) + 0.15 * std::cos(2 * theta)) * 7 + 11.5;
  }
  return -12.6 - E;
}

void normalIntakeLift(State& st) {
  st.lift = normalLobeAt(st.ang, st.pi);
}

// Follows the cam; past 1.1 pi holds at -23 while the cam closes further (the first hold step
// averages with the valve's previous position); once the solenoid opens at outgoingd the oil
// escapes: -22.5, -21, then 3 units per step, landing on the seat. Never less open than the cam.
void corvaneIntakeLift(State& st) {
  st.holdc = kHold;
  st.liftc = st.lift;
  if (st.ang <= 1.1 * st.pi) st.heldc = 0;
  if (st.ang > 1.1 * st.pi && st.lift > kHold) {
    st.liftc = st.heldc == 0 ? (st.holdc + st.liftc1) / 2 : st.holdc;
    st.heldc = 1;
  }
  if (st.ang < st.outgoingd) st.nc = 0;
  if (st.ang >= st.outgoingd) {
    st.liftc = kHold + 3 * st.nc;
    if (st.nc == 1) st.liftc = kHold + 0.5 * st.nc;
    if (st.nc == 2) st.liftc = kHold + st.nc;
    st.liftc = land(st.liftc, st.liftc1);
    if (st.liftc > st.lift) st.liftc = st.lift;
  }
  st.nc = st.nc + 1;
}

// Past pi/1.29 a straight ramp, lift = -16 - (2 pi - ang) 4, reaching the seat at 2 pi;
// before it the normal lobe.
void longIntakeLift(State& st) {
  if (st.ang > st.pi / 1.29) st.lift = -16 - (2 * st.pi - st.ang) * 4;
  if (st.ang > 2 * st.pi) st.lift = kSeat;
}

// Follows the normal lobe kkk until ingoing; then the push rod collapses. The rod can only
// shorten, so the valve is never more open than the cam.
void tessimoIntakeLift(State& st) {
  if (st.ang < st.ingoing) {
    st.lifta = st.kkk;
    st.lifta0 = st.kkk;
    st.na = 0;
  }
  if (st.ang >= st.ingoing) {
    st.lifta = pushRodRelease(st.lifta0, st.na);
    if (st.lifta < st.kkk) st.lifta = st.kkk;
    st.lifta = land(st.lifta, st.lifta1);
  }
  st.na = st.na + 1;
}

// The Tessimo law on the long lobe, released at outgoing. The capture runs up to and
// including outgoing, so at ang = outgoing exactly both branches run.
void lumiventIntakeLift(State& st) {
  if (st.ang <= st.outgoing) {
    st.liftb = st.lift;
    st.liftb0 = st.lift;
    st.nb = 0;
  }
  if (st.ang >= st.outgoing) {
    st.liftb = pushRodRelease(st.liftb0, st.nb);
    if (st.liftb < st.lift) st.liftb = st.lift;
    st.liftb = land(st.liftb, st.liftb1);
  }
  st.nb = st.nb + 1;
}

void exhaustLift(State& st) {
  st.lifto1 = st.lifto;
  st.lifto = exhaustLobeAt(st.ang, st.pi);
}

// The Corvane intake law on the exhaust side: the hold starts past -0.25 pi and its first
// step averages with the previous exhaust-cam position lifto1; the release runs -22.5, -21,
// then 2 units per step.
void corvaneExhaustLift(State& st) {
  st.holde = kHold;
  st.lifte = st.lifto;
  if (st.ang <= -0.25 * st.pi) st.helde = 0;
  if (st.ang > -0.25 * st.pi && st.lifto > kHold) {
    st.lifte = st.helde == 0 ? (st.holde + st.lifto1) / 2 : st.holde;
    st.helde = 1;
  }
  if (st.ang < st.outgoingde) st.ne = 0;
  if (st.ang >= st.outgoingde) {
    st.lifte = kHold + 2 * st.ne;
    if (st.ne == 1) st.lifte = kHold + 0.5 * st.ne;
    if (st.ne == 2) st.lifte = kHold + st.ne;
    st.lifte = land(st.lifte, st.lifte1);
    if (st.lifte > st.lifto) st.lifte = st.lifto;
  }
  st.ne = st.ne + 1;
}

}  // namespace corvane
