// The mouse: speed and load from a screen point in the scale of the view in force, the speed
// floor of a tall window, the spot zones with their strict edges, and the press.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPixelsPerVerticalUnit = 25.33735 / 15;  // at 96 DPI

struct View {
  const char* name;
  int moo;
  float left, top, width;
  double s1;
};
// The engine view, both graph views (the time view at rpm 8: s = 1800) and the help page.
constexpr View kEngine{"engine view", 2, -110, 150, 300, 1};
constexpr View kCrank{"crank-angle view", 1, -103, 85, 300, 1};
constexpr View kTime{"time view", 0, -618, 85, 1800, 6};
constexpr View kPage{"help page", 3, -115, 165, 300, 1};

State startState(const View& v) {
  State s;
  s.moo = v.moo;
  s.s1 = v.s1;
  s.pi = kPi;
  s.ra = 50;
  s.rpm = 8;
  s.bco = kBlack;
  s.ingoing = kPi / 2;
  s.outgoing = s.outgoingd = 3 * kPi / 2;
  s.outgoingde = 0.14;
  return s;
}

// A pointer position in window pixels, delivered in the scale of the view.
State moveIn(const View& v, int w, int h, int px, int py) {
  test::Recorded r(w, h);
  r.p.st = startState(v);
  r.sf.ScaleLeft(v.left);
  r.sf.ScaleWidth(v.width);
  r.sf.ScaleTop(v.top);
  r.dispatcher.deliver(Event::move(px, py));
  return r.p.st;
}

// The same pixels read in each view give each its own X, Y: the speed where the view lets the
// pointer set it (left of x = -50 in the engine view and on the page, anywhere in the graph
// views), the load from X / s1 everywhere. The top-edge speeds are 12.159, 10.682 and 12.5.
TEST(MouseMove, TheSameScreenPointGivesEachViewItsOwnSpeedAndLoad) {
  struct Case {
    int px, py;
    View v;
    double rpm, endin;
  };
  const Case cases[] = {
      {0, 0, kEngine, 12.1591, -2.225},   {0, 0, kCrank, 10.6818, -2.1375},
      {0, 0, kTime, 10.6818, -2.1375},    {0, 0, kPage, 12.5, -2.2875},
      {1900, 0, kEngine, 8, 1.4859},      {1900, 0, kCrank, 10.6818, 1.5734},
      {1900, 0, kTime, 10.6818, 1.5734},  {1900, 0, kPage, 8, 1.4234},
      {640, 500, kEngine, 8, -0.975},     {640, 500, kCrank, 3.9544, -0.8875},
      {640, 500, kTime, 3.9544, -0.8875}, {640, 500, kPage, 8, -1.0375},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.v.name) + " at " + std::to_string(c.px) + "," +
                 std::to_string(c.py));
    const State s = moveIn(c.v, 1920, 1080, c.px, c.py);
    EXPECT_NEAR(s.rpm, c.rpm, 5e-4);
    EXPECT_NEAR(s.stee, -c.rpm * c.rpm / 700, 1e-5);
    EXPECT_NEAR(s.endin, c.endin, 1e-4);
  }
}

// Twice the design height reaches far below Y = -385, where the speed would be negative: it
// stays at its design minimum, R.P.M. readout 600. The design window never gets there.
TEST(MouseMove, TheLowestPointerOfATallWindowKeepsTheDesignMinimumSpeed) {
  for (const View& v : {kEngine, kCrank, kTime, kPage}) {
    SCOPED_TRACE(v.name);
    ASSERT_LT(v.top - 2159 / kPixelsPerVerticalUnit, -385);
    const State s = moveIn(v, 3840, 2160, 3, 2159);
    EXPECT_GE(s.rpm, 1.2);
    EXPECT_LT(s.rpm, 1.2 + 1e-6);
    EXPECT_EQ(std::floor(std::pow(3.9 * s.rpm, 1.18)) * 100, 600);
    EXPECT_NEAR(s.stee, -1.44 / 700, 1e-7);
  }
  const State design = moveIn(kEngine, 1016, 704, 3, 703);
  EXPECT_NEAR(design.rpm, (150 - 703 / kPixelsPerVerticalUnit + 385) / 44, 1e-5);  // 2.61
}

// Each zone is 10 units wide about its spot and open at both ends of its Y range; the angle
// from Y is taken only strictly inside its accepted range.
TEST(MouseMove, SpotZonesHaveStrictEdges) {
  enum Zone { Tessimo, Lumivent, CorvaneIntake, CorvaneExhaust };
  struct Case {
    Zone zone;
    double dx;  // from the zone's centre
    float Y;
    bool taken;
  };
  const double centre[] = {-31.25, 43.75, 118.75, 181.25};
  const Case cases[] = {
      {Tessimo, 0, -60, true},
      {Tessimo, -4.99, -60, true},
      {Tessimo, 4.99, -60, true},
      {Tessimo, -5, -60, false},
      {Tessimo, 5, -60, false},
      {Tessimo, 0, -13, false},  // angle 0
      {Tessimo, 0, -13.1f, true},
      {Tessimo, 0, -182.6f, true},  // 1.35 pi at -182.65
      {Tessimo, 0, -182.7f, false},
      {Lumivent, 0, -100, true},
      {Lumivent, 5, -100, false},
      {Lumivent, 0, -13, false},  // angle 2 pi
      {Lumivent, 0, -13.1f, true},
      {Lumivent, 0, -259.9f, true},
      {Lumivent, 0, -260, false},
      {CorvaneIntake, 0, -60, true},
      {CorvaneIntake, -5, -60, false},
      {CorvaneIntake, 0, -126.0f, true},  // 1.1 pi at -126.10
      {CorvaneIntake, 0, -126.2f, false},
      {CorvaneIntake, 0, -6.8f, true},  // 2.05 pi at -6.72
      {CorvaneIntake, 0, -6.6f, false},
      {CorvaneExhaust, 0, -60, true},
      {CorvaneExhaust, 5, -60, false},
      {CorvaneExhaust, 0, 12.0f, true},  // -0.2 pi at 12.13
      {CorvaneExhaust, 0, 12.2f, false},
      {CorvaneExhaust, 0, -214.0f, true},  // 1.6 pi
      {CorvaneExhaust, 0, -214.1f, false},
  };
  for (const Case& c : cases) {
    const float X = static_cast<float>(centre[c.zone] + c.dx);
    SCOPED_TRACE("zone " + std::to_string(c.zone) + " at " + std::to_string(X) + "," +
                 std::to_string(c.Y));
    test::Recorded h;
    const State before = startState(kEngine);
    h.p.st = before;
    Form_MouseMove(h.p, 0, 0, X, c.Y);
    const double forward = (-c.Y - 13) / 40.0;        // from top dead centre
    const double back = 2 * kPi + (c.Y + 13) / 40.0;  // before the next top dead centre
    auto want = [&](Zone z, double t, double old) { return c.zone == z && c.taken ? t : old; };
    EXPECT_NEAR(h.p.st.ingoing, want(Tessimo, forward, before.ingoing), 1e-5);
    EXPECT_NEAR(h.p.st.outgoing, want(Lumivent, back, before.outgoing), 1e-5);
    EXPECT_NEAR(h.p.st.outgoingd, want(CorvaneIntake, back, before.outgoingd), 1e-5);
    EXPECT_NEAR(h.p.st.outgoingde, want(CorvaneExhaust, forward, before.outgoingde), 1e-5);
  }
}

// A press switches the spots' drift in the engine view and the random change elsewhere; the
// change switched off in the crank-angle view leaves one bco dot 10 units below the speed
// gauge's marker, at theta = 2.8 - 0.2 rpm.
TEST(MouseDown, PressesSwitchTheAutomaticChangesOfTheirView) {
  for (const View& v : {kEngine, kCrank, kTime, kPage}) {
    SCOPED_TRACE(v.name);
    test::Recorded h;
    h.p.st = startState(v);
    h.sf.DrawWidth(3);
    Form_MouseDown(h.p, 1, 0, 0, 0);
    EXPECT_EQ(h.p.st.mom, v.moo == 2 ? 1 : 0);
    EXPECT_EQ(h.p.st.mo, v.moo == 2 ? 0 : 1);
    EXPECT_TRUE(h.sf.drawing().empty()) << "switching on draws nothing";
    Form_MouseDown(h.p, 2, 0, 0, 0);
    EXPECT_EQ(h.p.st.mom + h.p.st.mo, 0);
    const auto drawn = h.sf.drawing();
    ASSERT_EQ(drawn.size(), v.moo == 1 ? 1u : 0u);
    if (v.moo != 1) continue;
    EXPECT_EQ(drawn[0].op, Call::Op::PSet);
    EXPECT_NEAR(drawn[0].x1, 110 + 50 * std::cos(1.2), 1e-9);
    EXPECT_NEAR(drawn[0].y1, 100 * std::sin(1.2) - 35, 1e-9);
    EXPECT_EQ(drawn[0].colour, kBlack);
    EXPECT_EQ(drawn[0].drawWidth, 3);
  }
  // The two switches are independent: a press in the engine view and one in a graph view.
  test::Recorded h;
  h.p.st = startState(kEngine);
  Form_MouseDown(h.p, 1, 0, 0, 0);
  h.p.st.moo = 0;
  Form_MouseDown(h.p, 1, 0, 0, 0);
  EXPECT_EQ(h.p.st.mom + h.p.st.mo, 2);
}

}  // namespace
}  // namespace corvane
