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

// A valve worked by the cam through an oil push rod. While the solenoid is shut the valve
// follows the cam and its position is captured; once it opens the rod collapses: one step
// still, then 2 units per step towards the seat. The rod can only shorten, so the valve is
// never more open than the cam; it lands on the seat. n counts the steps since the opening.
struct PushRodValve {
  double& v;
  double& captured;
  int& n;
};

void pushRodLaw(PushRodValve valve, double cam, bool shut, bool open, double previous) {
  if (shut) {
    valve.v = cam;
    valve.captured = cam;
    valve.n = 0;
  }
  if (open) {
    valve.v = valve.captured + 2 * (valve.n - 1);
    if (valve.v < cam) valve.v = cam;
    valve.v = land(valve.v, previous);
  }
  valve.n = valve.n + 1;
}

// A Corvane valve: it follows its cam, past `holdFrom` holds 7 units open while the cam closes
// further (the first hold step averages with `averageWith`), and once its solenoid opens the
// oil escapes: -22.5, -21, then `rate` units per step, landing on the seat. The cam opens it
// mechanically, so it is never less open than the cam.
struct HeldValve {
  double& v;
  double& hold;
  int& held;
  int& n;
};

void holdAndReleaseLaw(HeldValve valve, double ang, double cam, double holdFrom, double averageWith,
                       double solenoid, double rate, double previous) {
  valve.hold = kHold;
  valve.v = cam;
  if (ang <= holdFrom) valve.held = 0;
  if (ang > holdFrom && cam > kHold) {
    valve.v = valve.held == 0 ? (valve.hold + averageWith) / 2 : valve.hold;
    valve.held = 1;
  }
  if (ang < solenoid) valve.n = 0;
  if (ang >= solenoid) {
    valve.v = kHold + rate * valve.n;
    if (valve.n == 1) valve.v = kHold + 0.5 * valve.n;
    if (valve.n == 2) valve.v = kHold + valve.n;
    valve.v = land(valve.v, previous);
    if (valve.v > cam) valve.v = cam;
  }
  valve.n = valve.n + 1;
}

// A cam lobe: inside its window from pi < ang < to pi, theta = 2 ang / spread - phase pi and
// L = (sin theta + 0.15 cos 2 theta) gain + base; outside it L = rest. The valve stands at
// -12.6 - L.
struct Lobe {
  double from, to, spread, phase, gain, base, rest;
};
constexpr Lobe kNormalLobe{-0.1, 1.4, 1.5, 0.35, 8, 12.6, 3.4};
constexpr Lobe kExhaustLobe{-1.5, 0.2, 1.7, 0.75, 7, 11.5, 3.475};

double lobeAt(const Lobe& lobe, double ang, double pi) {
  double L = lobe.rest;
  if (ang > lobe.from * pi && ang < lobe.to * pi) {
    const double theta = (ang * 2) / lobe.spread - lobe.phase * pi;
    L = (std::sin(theta) + 0.15 * std::cos(2 * theta)) * lobe.gain + lobe.base;
  }
  return -12.6 - L;
}

}  // namespace

double normalLobeAt(double ang, double pi) {
  return lobeAt(kNormalLobe, ang, pi);
}

double exhaustLobeAt(double ang, double pi) {
  return lobeAt(kExhaustLobe, ang, pi);
}

void normalIntakeLift(State& st) {
  st.lift = normalLobeAt(st.ang, st.pi);
}

// Held past 1.1 pi, the first hold step averaging with the valve's own previous position;
// released at outgoingd, 3 units per step.
void corvaneIntakeLift(State& st) {
  holdAndReleaseLaw({st.liftc, st.holdc, st.heldc, st.nc}, st.ang, st.lift, 1.1 * st.pi, st.liftc1,
                    st.outgoingd, 3, st.liftc1);
}

// Past pi/1.29 a straight ramp, lift = -16 - (2 pi - ang) 4, reaching the seat at 2 pi;
// before it the normal lobe.
void longIntakeLift(State& st) {
  if (st.ang > st.pi / 1.29) st.lift = -16 - (2 * st.pi - st.ang) * 4;
  if (st.ang > 2 * st.pi) st.lift = kSeat;
}

// The normal lobe kkk through the push rod, released at ingoing.
void tessimoIntakeLift(State& st) {
  pushRodLaw({st.lifta, st.lifta0, st.na}, st.kkk, st.ang < st.ingoing, st.ang >= st.ingoing,
             st.lifta1);
}

// The long lobe through the push rod, released at outgoing. The capture runs up to and
// including outgoing, so at ang = outgoing exactly both branches run.
void lumiventIntakeLift(State& st) {
  pushRodLaw({st.liftb, st.liftb0, st.nb}, st.lift, st.ang <= st.outgoing, st.ang >= st.outgoing,
             st.liftb1);
}

void exhaustLift(State& st) {
  st.lifto1 = st.lifto;
  st.lifto = exhaustLobeAt(st.ang, st.pi);
}

// Held past -0.25 pi, the first hold step averaging with the previous exhaust-cam position
// lifto1 (not the valve's own); released at outgoingde, 2 units per step.
void corvaneExhaustLift(State& st) {
  holdAndReleaseLaw({st.lifte, st.holde, st.helde, st.ne}, st.ang, st.lifto, -0.25 * st.pi,
                    st.lifto1, st.outgoingde, 2, st.lifte1);
}

}  // namespace corvane
