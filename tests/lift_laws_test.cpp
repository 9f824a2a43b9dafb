// The valve lift laws: lobe shapes at their stated points, each hydraulic rule on a hand-made
// state, and whole crank cycles at several solenoid settings.
#include "core/lift_laws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace corvane {
namespace {

const double pi = 4 * std::atan(1.0);

State fresh() {
  State st;
  st.pi = pi;
  st.ingoing = pi / 2;
  st.outgoing = 3 * pi / 2;
  st.outgoingd = 3 * pi / 2;
  st.outgoingde = 0.14;
  return st;
}

TEST(LobeShapes, GiveTheirStatedPositions) {
  struct Row {
    const char* what;
    double (*lobe)(double, double);
    double ang, expected, tolerance;
  };
  const Row rows[] = {
      {"normal, fully open", normalLobeAt, 0.6375 * pi, -32, 1e-9},
      {"normal, just inside the start", normalLobeAt, -0.1 * pi + 1e-9, -16.0175, 5e-5},
      {"normal, just inside the end", normalLobeAt, 1.4 * pi - 1e-9, -16.0175, 5e-5},
      {"normal, at the start (strict)", normalLobeAt, -0.1 * pi, -16, 0},
      {"normal, at the end (strict)", normalLobeAt, 1.4 * pi, -16, 0},
      {"exhaust, fully open", exhaustLobeAt, -0.6375 * pi, -30.05, 1e-9},
      {"exhaust, just inside the start", exhaustLobeAt, -1.5 * pi + 1e-9, -16.062, 5e-4},
      {"exhaust, just inside the end", exhaustLobeAt, 0.2 * pi - 1e-9, -16.062, 5e-4},
      {"exhaust, at the end (strict)", exhaustLobeAt, 0.2 * pi, -16.075, 1e-12},
      {"exhaust, closed in the intake stroke", exhaustLobeAt, 2, -16.075, 1e-12},
  };
  for (const Row& r : rows)
    EXPECT_NEAR(r.lobe(r.ang, pi), r.expected, r.tolerance) << r.what;
  // The long lobe: a ramp from near the nose to the seat at 2 pi, the normal lobe before it.
  const double ramp[][3] = {{pi / 1.29 + 1e-9, -31.42, -31.39},
                            {1.5 * pi, -99, -16 - 2 * pi},
                            {2.2 * pi, -99, -16},
                            {0.5 * pi, -27.5, -27.5}};
  for (const auto& [ang, normal, expected] : ramp) {
    State st = fresh();
    st.ang = ang;
    st.lift = normal;
    longIntakeLift(st);
    EXPECT_NEAR(st.lift, expected, 5e-3) << "long lobe at " << ang;
  }
}

// One step of a hydraulic law on a hand-made state. `cam` is the law's cam now (lift, kkk or
// lifto), `camPrev` the exhaust cam's previous value, `prev` the valve's previous position,
// `captured` the position kept as the solenoid opened, n the law's step counter.
enum class Law { CorvaneIntake, CorvaneExhaust, Tessimo, Lumivent };

struct Rule {
  const char* what;
  Law law;
  double ang, cam, camPrev, prev, captured;
  int n, held;
  double expected;
};

double apply(const Rule& r) {
  State st = fresh();
  st.ang = r.ang;
  switch (r.law) {
    case Law::CorvaneIntake:
      st.lift = r.cam, st.liftc1 = r.prev, st.nc = r.n, st.heldc = r.held;
      corvaneIntakeLift(st);
      return st.liftc;
    case Law::CorvaneExhaust:
      st.outgoingde = 0.5;
      st.lifto = r.cam, st.lifto1 = r.camPrev, st.lifte1 = r.prev, st.ne = r.n, st.helde = r.held;
      corvaneExhaustLift(st);
      return st.lifte;
    case Law::Tessimo:
      st.kkk = r.cam, st.lifta1 = r.prev, st.lifta0 = r.captured, st.na = r.n;
      tessimoIntakeLift(st);
      return st.lifta;
    case Law::Lumivent:
      st.lift = r.cam, st.liftb1 = r.prev, st.liftb0 = r.captured, st.nb = r.n;
      lumiventIntakeLift(st);
      return st.liftb;
  }
  return 0;
}

TEST(HydraulicRules, EachRuleOnAHandMadeState) {
  using enum Law;
  const double late = 1.6 * pi;  // past every release angle used below
  const Rule rows[] = {
      {"hold, first step: average of -23 and the valve's previous position", CorvaneIntake,
       1.2 * pi, -22, 0, -25, 0, 0, 0, -24},
      {"hold, later steps", CorvaneIntake, 1.2 * pi, -22, 0, -25, 0, 0, 1, -23},
      {"no hold while the cam is 7 or more open", CorvaneIntake, 1.2 * pi, -23.5, 0, -25, 0, 0, 0,
       -23.5},
      {"no hold up to 1.1 pi", CorvaneIntake, 1.1 * pi, -22, 0, -25, 0, 0, 1, -22},
      {"release, first step", CorvaneIntake, late, -16, 0, -23, 0, 1, 1, -22.5},
      {"release, second step", CorvaneIntake, late, -16, 0, -22.5, 0, 2, 1, -21},
      {"release, third step lands halfway", CorvaneIntake, late, -16, 0, -21, 0, 3, 1, -18.5},
      {"landing halves again", CorvaneIntake, late, -16, 0, -18.5, 0, 4, 1, -17.25},
      {"seated stays seated", CorvaneIntake, late, -16, 0, -16, 0, 9, 1, -16},
      {"never less open than its cam", CorvaneIntake, late, -24, 0, -23, 0, 1, 1, -24},
      {"exhaust hold, first step: average with the previous exhaust cam", CorvaneExhaust, 0, -22,
       -25, -20, 0, 0, 0, -24},
      {"exhaust release, second step", CorvaneExhaust, 1, -16.075, 0, -22.5, 0, 2, 1, -21},
      {"exhaust release, 2 a step from the third", CorvaneExhaust, 1, -16.075, 0, -21, 0, 3, 1,
       -17},
      {"exhaust landing bounded by the shut cam", CorvaneExhaust, 1, -16.075, 0, -16.125, 0, 9, 1,
       -16.075},
      {"Tessimo follows its cam while shut", Tessimo, 0.4 * pi, -27, 0, -26, -20, 0, 0, -27},
      {"Tessimo stays one step", Tessimo, 0.6 * pi, -31, 0, -30, -30, 1, 0, -30},
      {"Tessimo second step closes 2", Tessimo, 0.6 * pi, -31, 0, -30, -30, 2, 0, -28},
      {"Tessimo never more open than its cam", Tessimo, 0.9 * pi, -25, 0, -27, -30, 2, 0, -25},
      {"Tessimo lands from its own previous position", Tessimo, 0.9 * pi, -16, 0, -17, -30, 9, 0,
       -16.5},
      {"Lumivent at its solenoid angle: captured and released", Lumivent, 1.5 * pi, -26, 0, -24,
       -30, 5, 0, -26},
      {"Lumivent third step closes 4 from the captured position", Lumivent, late, -27, 0, -27, -29,
       3, 0, -25},
  };
  for (const Rule& r : rows)
    EXPECT_DOUBLE_EQ(apply(r), r.expected) << r.what;
}

// --- Whole cycles: the laws alone, in the order a step runs them, at the starting speed ---

struct Row {
  double ang, cam, longCam, exhaustCam, lifta, liftb, liftc, lifte;
};

std::vector<Row> secondCycle(State st) {
  std::vector<Row> rows;
  for (int c = 0; c < 2; ++c) {
    rows.clear();
    for (double a = -1.5 * pi; a <= 2.5 * pi; a += 2 * pi / 5000) {
      a += 64.0 / 700;
      st.ang = a;
      st.lift1 = st.kkk, st.lift11 = st.lift, st.lifta1 = st.lifta;
      st.liftb1 = st.liftb, st.liftc1 = st.liftc, st.lifte1 = st.lifte;
      normalIntakeLift(st);
      corvaneIntakeLift(st);
      st.kkk = st.lift;
      longIntakeLift(st);
      tessimoIntakeLift(st);
      lumiventIntakeLift(st);
      exhaustLift(st);
      corvaneExhaustLift(st);
      rows.push_back({a, st.kkk, st.lift, st.lifto, st.lifta, st.liftb, st.liftc, st.lifte});
    }
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

TEST(WholeCycles, PushRodsCloseFromTheStepTheirSolenoidOpens) {
  struct Case {
    bool tessimo;
    double angle;
  };
  const Case cases[] = {{true, 0.3 * pi},  {true, pi / 2},    {true, 1.2 * pi}, {true, -0.5},
                        {true, 1.45 * pi}, {false, 0.7 * pi}, {false, pi},      {false, 1.5 * pi},
                        {false, 1.9 * pi}, {false, 2.01 * pi}};
  for (const Case& c : cases) {
    State st = fresh();
    (c.tessimo ? st.ingoing : st.outgoing) = c.angle;
    const auto rows = secondCycle(st);
    ASSERT_EQ(rows.size(), 136u);
    std::vector<double> cam, got;
    std::size_t k = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      cam.push_back(c.tessimo ? rows[i].cam : rows[i].longCam);
      got.push_back(c.tessimo ? rows[i].lifta : rows[i].liftb);
      // Tessimo releases from ang >= ingoing; Lumivent captures up to ang = outgoing.
      const bool open = c.tessimo ? rows[i].ang >= c.angle : rows[i].ang > c.angle;
      if (open && k == rows.size()) k = i;
    }
    EXPECT_EQ(got, pushRod(cam, k)) << (c.tessimo ? "Tessimo " : "Lumivent ") << c.angle;
  }
}

TEST(WholeCycles, CorvaneValvesHoldThenReleaseAtTheirSolenoidAngles) {
  struct Case {
    bool intake;
    double angle, holdFrom;
    std::vector<double> release;
  };
  const std::vector<double> intake = {-22.5, -21, -18.5, -17.25, -16.625, -16.3125};
  const Case cases[] = {
      {true, 1.5 * pi, 1.1 * pi, intake},
      {true, 1.3 * pi, 1.1 * pi, intake},
      {true, 2.0 * pi, 1.1 * pi, intake},
      {false, 0.14, -0.25 * pi, {-22.5, -21, -17, -16.5, -16.25, -16.125, -16.075, -16.075}},
  };
  for (const Case& c : cases) {
    State st = fresh();
    (c.intake ? st.outgoingd : st.outgoingde) = c.angle;
    const auto rows = secondCycle(st);
    const auto cam = [&](std::size_t i) { return c.intake ? rows[i].cam : rows[i].exhaustCam; };
    const auto valve = [&](std::size_t i) { return c.intake ? rows[i].liftc : rows[i].lifte; };
    std::size_t h = 0;  // follows its cam until the cam is less than 7 open past holdFrom
    for (; !(rows[h].ang > c.holdFrom && cam(h) > -23); ++h)
      EXPECT_DOUBLE_EQ(valve(h), cam(h)) << c.angle << " step " << h;
    // The first hold step averages with the valve's previous position, which equals its cam's.
    EXPECT_DOUBLE_EQ(valve(h), (-23 + cam(h - 1)) / 2) << c.angle;
    std::size_t k = h + 1;
    for (; rows[k].ang < c.angle; ++k)
      EXPECT_EQ(valve(k), -23) << c.angle << " held at step " << k;
    for (std::size_t j = 0; j < c.release.size(); ++j)
      EXPECT_DOUBLE_EQ(valve(k + j), c.release[j]) << c.angle << " release step " << j + 1;
    for (std::size_t i = 0; i < rows.size(); ++i)
      EXPECT_LE(valve(i), cam(i)) << "never less open than its cam";
  }
}

}  // namespace
}  // namespace corvane
