// The valve lift laws: the few rules a running engine never reaches exactly, and whole crank
// cycles of the real step at several solenoid settings.
#include "core/lift_laws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "harness.h"
#include "input/pointer.h"

namespace corvane {
namespace {

const double pi = 4 * std::atan(1.0);

// Edges a run never meets: a first hold step whose valve and cam stood apart on the step
// before, and an angle exactly on a solenoid angle.
TEST(HydraulicRules, ExactEdgesAndTheValueTheHoldAverages) {
  struct Row {
    void (*law)(State&);
    double State::*valve;
    void (*set)(State&);
    double expected;
  };
  const Row rows[] = {
      {corvaneIntakeLift, &State::liftc,  // -23 averaged with the valve's previous position
       [](State& s) { s.ang = 1.2 * pi, s.lift = -22, s.liftc1 = -25, s.lift1 = -30; }, -24},
      {corvaneIntakeLift, &State::liftc,  // held, and released at outgoingd itself
       [](State& s) { s.ang = 1.5 * pi, s.lift = -20, s.heldc = 1, s.nc = 2; }, -21},
      {corvaneExhaustLift, &State::lifte,  // ... here with the exhaust cam's previous position
       [](State& s) { s.ang = 0, s.lifto = -22, s.lifto1 = -25, s.lifte1 = -20; }, -24},
      {tessimoIntakeLift, &State::lifta,  // released at ingoing itself
       [](State& s) { s.ang = s.ingoing = 0.5 * pi, s.kkk = -31, s.lifta0 = -30, s.na = 1; }, -30},
      {lumiventIntakeLift, &State::liftb,  // captured at outgoing itself, then released
       [](State& s) { s.ang = s.outgoing = 1.5 * pi, s.lift = -26, s.liftb0 = -30, s.nb = 5; },
       -26},
  };
  for (const Row& r : rows) {
    State st;
    st.pi = pi, st.outgoingd = 1.5 * pi, st.outgoingde = 1;
    r.set(st);
    r.law(st);
    EXPECT_DOUBLE_EQ(st.*r.valve, r.expected) << &r - rows;
  }
}

// --- Whole cycles of the real step, which runs the laws in its own order ---

// The state after each step of the second crank cycle of the engine view, starting speed.
std::vector<State> secondCycle(const std::function<void(State&)>& set) {
  test::Harness<Surface> h;  // draws nowhere: only the laws matter here
  h.startEngineView();
  set(h.p.st);
  std::vector<State> rows;
  double before = -10;
  for (int wraps = 0; wraps < 2; before = h.p.st.ang1) {
    h.step();
    wraps += h.p.st.ang1 < before;
    if (wraps == 1) rows.push_back(h.p.st);
  }
  return rows;
}

// A push rod released at step k: still for one step, then 2 units a step, never more open
// than its cam, halving onto the seat where it would pass it.
std::vector<double> pushRod(const std::vector<double>& cam, std::size_t k) {
  std::vector<double> v = cam;
  for (std::size_t i = k; i < cam.size(); ++i) {
    const double x = std::max(cam[k - 1] + 2.0 * static_cast<double>(i - k), cam[i]);
    v[i] = x <= -16 ? x : v[i - 1] == -16 ? -16 : (v[i - 1] - 16) / 2;
  }
  return v;
}

// The one rule, from the step whose angle first reaches the solenoid's (no run lands on the
// angle itself), holds over the speeds from the lowest, through the starting speed (136 steps a
// cycle), to beyond what the design window's top row gives, over the timings that the keys and
// the pointer accept, and just outside them.
TEST(WholeCycles, PushRodsCloseFromTheStepTheirSolenoidOpensAtEverySpeedAndTiming) {
  for (const double rpm : {1.2, 8.0, 13.0})
    for (const bool tessimo : {true, false}) {
      std::vector<double> angles = {tessimo ? -0.5 : 2.01 * pi, tessimo ? 1.45 * pi : pi};
      for (double angle = 0.1; angle < (tessimo ? 1.35 : 2) * pi; angle += 0.2 * pi)
        angles.push_back(angle);
      for (const double angle : angles) {
        const auto rows = secondCycle([&](State& s) {
          s.rpm = rpm;
          steeFromRpm(s);
          (tessimo ? s.ingoing : s.outgoing) = angle;
        });
        std::vector<double> cam, got;
        std::size_t k = 0;
        for (const State& r : rows) {
          cam.push_back(tessimo ? r.kkk : r.lift);  // the normal lobe, or the long one
          got.push_back(tessimo ? r.lifta : r.liftb);
          k = r.ang1 < angle ? cam.size() : k;
        }
        EXPECT_TRUE(rpm != 8 || cam.size() == 136) << cam.size() << " steps at the start";
        EXPECT_EQ(got, pushRod(cam, k)) << (tessimo ? "Tessimo " : "Lumivent ") << angle;
      }
    }
}

TEST(WholeCycles, CorvaneValvesHoldThenReleaseAtTheirSolenoidAngles) {
  const std::vector<double> intake = {-22.5, -21, -18.5, -17.25, -16.625, -16.3125};
  const std::tuple<bool, double, std::vector<double>> cases[] = {
      {true, 1.5 * pi, intake},
      {true, 1.3 * pi, intake},
      {true, 2.0 * pi, intake},
      {false, 0.14, {-22.5, -21, -17, -16.5, -16.25, -16.125, -16.075, -16.075}}};
  for (const auto& [isIntake, angle, release] : cases) {
    const auto rows =
        secondCycle([&](State& s) { (isIntake ? s.outgoingd : s.outgoingde) = angle; });
    const double holdFrom = isIntake ? 1.1 * pi : -0.25 * pi;
    const auto cam = [&](std::size_t i) { return isIntake ? rows[i].kkk : rows[i].lifto; };
    const auto valve = [&](std::size_t i) { return isIntake ? rows[i].liftc : rows[i].lifte; };
    std::size_t h = 0;  // follows its cam until the cam is less than 7 open past holdFrom
    for (; !(rows[h].ang1 > holdFrom && cam(h) > -23); ++h)
      EXPECT_DOUBLE_EQ(valve(h), cam(h)) << angle << " step " << h;
    // The first hold step averages with the previous position, here that of the cam too.
    EXPECT_DOUBLE_EQ(valve(h), (-23 + cam(h - 1)) / 2) << angle;
    std::size_t k = h + 1;
    for (; rows[k].ang1 < angle; ++k)
      EXPECT_EQ(valve(k), -23) << angle << " held at step " << k;
    for (std::size_t j = 0; j < release.size(); ++j)
      EXPECT_DOUBLE_EQ(valve(k + j), release[j]) << angle << " release step " << j + 1;
    for (std::size_t i = 0; i < rows.size(); ++i)
      EXPECT_LE(valve(i), cam(i)) << "never less open than its cam";
  }
}

}  // namespace
}  // namespace corvane
