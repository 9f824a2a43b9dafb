// The engine figure through the recording surface: the crank at its dead centres, the cam
// tables and lobes, the spots at start, the valves' head rule, the middle engines' push rods,
// the colours of a whole run, and every speed and timing the controls can give.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/engine_step.h"
#include "engine/figure.h"
#include "harness.h"

namespace corvane {
namespace {

const double pi = 4 * std::atan(1.0);
using Op = Call::Op;

// The program as the engine view's pass sets it up, on a recording surface.
struct EngineView {
  RecordingSurface sf{1920, 1080};
  ScriptedHost host;
  Program p{sf, host};
  EngineView() {
    initialise(p);
    cams(p);
    sf.ScaleLeft(-110);
    sf.ScaleWidth(300);
    sf.ScaleTop(150);
    sf.DrawWidth(3);
    p.st.cylcyl = 0;
  }
  // A step at crank angle `before`, then the recorded step at `ang`.
  void stepTo(double before, double ang) {
    p.st.ang = before + p.st.stee;
    engineStep(p);
    p.st.ang1 = p.st.ang;
    sf.clear();
    p.st.ang = ang + p.st.stee;
    engineStep(p);
  }
  std::vector<Call> drawn(Op op) const {
    std::vector<Call> out;
    for (const Call& c : sf.drawing())
      if (c.op == op) out.push_back(c);
    return out;
  }
};

// A recorded call as it should be: operation, colour, the four numbers given.
struct Want {
  Op op;
  Colour colour;
  double x1, y1, x2, y2;
};

void expectCalls(const std::vector<Call>& got, const std::vector<Want>& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Call& g = got[i];
    const Want& w = want[i];
    EXPECT_TRUE(g.op == w.op && g.colour == w.colour && std::abs(g.x1 - w.x1) < 1e-9 &&
                std::abs(g.y1 - w.y1) < 1e-9 && std::abs(g.x2 - w.x2) < 1e-9 &&
                std::abs(g.y2 - w.y2) < 1e-9)
        << what << ", call " << i << ": (" << g.x1 << ", " << g.y1 << ")-(" << g.x2 << ", " << g.y2
        << ") colour " << std::hex << g.colour;
  }
}

TEST(CrankAndPiston, DeadCentresOfAllFourEngines) {
  // crank angle, crank-pin y, piston-pin y, crown y
  for (const auto& [ang, pinY, pistonY, crownY] :
       {std::array{0.0, -245.0, -65.0, -25.0}, std::array{pi, -345.0, -165.0, -125.0}}) {
    EngineView v;
    v.stepTo(1.0, ang);
    std::vector<Call> pistons, pins, journals;
    for (const Call& c : v.drawn(Op::Circle))
      if (c.colour == v.p.st.fco && c.x2 != 11)
        (c.x2 == 7 ? pistons : c.x2 == 10 ? pins : journals).push_back(c);
    int crowns = 0;
    for (const Call& c : v.drawn(Op::Line))
      crowns += c.colour == v.p.st.fco && std::abs(c.y1 - crownY) < 1e-6 && c.y2 == c.y1 &&
                std::abs(c.x2 - c.x1 - 50) < 1e-9;
    EXPECT_EQ(crowns, 4) << ang;
    ASSERT_EQ(pistons.size(), 4u);
    ASSERT_EQ(pins.size(), 4u);
    for (int e = 0; e < 4; ++e) {
      const double a = -75 + 75 * e;
      EXPECT_NEAR(pistons[e].x1, a, 1e-9);
      EXPECT_NEAR(pistons[e].y1, pistonY, 1e-6) << ang;
      EXPECT_NEAR(pins[e].x1, a, 1e-6) << ang;
      EXPECT_NEAR(pins[e].y1, pinY, 1e-6) << ang;
      EXPECT_EQ(journals[e].x1, a);
      EXPECT_EQ(journals[e].y1, -295);
    }
  }
  // The very first step only sets the position: no mechanism is drawn.
  test::Recorded h;
  h.runSteps(1);
  for (const Call& c : h.sf.drawing())
    EXPECT_FALSE(c.op == Op::Circle && c.x2 != 11) << "circle of radius " << c.x2;
}

TEST(Cams, TablesAndLobesTurningAtHalfCrankSpeed) {
  const std::vector<double> normal = {11,   11.15, 11.3, 11.5, 12,   12.5,  13.1, 14.2, 15.1,
                                      16.4, 17.8,  18.9, 19.3, 18.9, 17.8,  16.4, 15.1, 14.2,
                                      13.1, 12.5,  12,   11.5, 11.3, 11.15, 11};
  const std::vector<double> rise = {11.2, 11.5, 11.8, 12.1, 12.4, 12.7, 13.1,
                                    13.5, 13.9, 14.3, 14.7, 15.1, 15.5, 16,
                                    16.5, 17,   17.5, 18,   18.5, 18.9, 19.1};
  std::vector<double> longLobe = {11};
  longLobe.insert(longLobe.end(), rise.begin(), rise.end());
  longLobe.insert(longLobe.end(), normal.begin() + 12, normal.end());
  for (const double ang : {-4.0, 0.3, 7.8}) {
    EngineView v;
    ASSERT_EQ(std::vector<double>(v.p.st.camnormal.begin(), v.p.st.camnormal.end()), normal);
    ASSERT_EQ(std::vector<double>(v.p.st.camlong.begin(), v.p.st.camlong.end()), longLobe);
    v.stepTo(ang - 0.09, ang);
    std::vector<Call> lines;  // the cam polylines are drawn while ForeColor is silver
    for (const Call& c : v.drawn(Op::Line))
      if (c.foreColor == kSilver) lines.push_back(c);
    ASSERT_EQ(lines.size(), 2u * (3 * 24 + 34)) << "entries i and i + 1 up to the last entry";
    // Entry i at crank angle t: phi = t/2 + 0.1 i + phase, (cx + R sin phi, 118 + 2 R cos phi).
    const auto expectSegment = [&](const Call& c, const std::vector<double>& R, int i, double t,
                                   double phase, double cx, Colour col) {
      const double p1 = t / 2 + 0.1 * i + phase, p2 = p1 + 0.1;
      EXPECT_EQ(c.colour, col);
      EXPECT_NEAR(c.x1, cx + R[i] * std::sin(p1), 1e-9) << i;
      EXPECT_NEAR(c.y1, 118 + 2 * R[i] * std::cos(p1), 1e-9) << i;
      EXPECT_NEAR(c.x2, cx + R[i + 1] * std::sin(p2), 1e-9) << i;
      EXPECT_NEAR(c.y2, 118 + 2 * R[i + 1] * std::cos(p2), 1e-9) << i;
    };
    const State& st = v.p.st;
    for (int i = 0; i < 24; ++i)
      for (int e = 0; e < 3; ++e) {
        const double cx = std::array{-12, -87, 138}[e];
        expectSegment(lines[i * 3 + e], normal, i, st.ang1, 0.94, cx, st.bco);
        expectSegment(lines[72 + i * 3 + e], normal, i, st.ang, 0.94, cx, st.fco);
      }
    for (int i = 0; i < 34; ++i) {
      expectSegment(lines[144 + i], longLobe, i, st.ang1, -0.1, 63, st.bco);
      expectSegment(lines[178 + i], longLobe, i, st.ang, -0.1, 63, st.fco);
    }
    std::vector<std::array<double, 3>> bases;
    for (const Call& c : v.drawn(Op::Circle))
      if (c.x2 == 11) bases.push_back({c.x1, c.y1, c.colour == st.fco ? 1.0 : 0.0});
    EXPECT_EQ(bases, (std::vector<std::array<double, 3>>{
                         {-12, 118, 1}, {-87, 118, 1}, {138, 118, 1}, {63, 118, 1}}));
  }
}

TEST(Spots, PositionsAndColoursAtStart) {
  test::Recorded h;
  h.runSteps(1);
  std::vector<Call> dots;
  for (const Call& c : h.sf.drawing())
    if (c.op == Op::PSet && c.drawWidth == 7) dots.push_back(c);
  // Each spot first erases the previous one, at height 0 before any was drawn.
  const std::vector<Want> want = {
      {Op::PSet, kWhite, -31.25, 0, 0, 0}, {Op::PSet, kRed, -31.25, -82.08, 0, 0},
      {Op::PSet, kWhite, 43.75, 0, 0, 0},  {Op::PSet, kCyan, 43.75, -82.08, 0, 0},
      {Op::PSet, kWhite, 118.75, 0, 0, 0}, {Op::PSet, kTeal, 118.75, -82.08, 0, 0},
      {Op::PSet, kWhite, 181.25, 0, 0, 0}, {Op::PSet, kOrange, 181.25, -25.62, 0, 0}};
  ASSERT_EQ(dots.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(dots[i].colour, want[i].colour) << i;
    EXPECT_NEAR(dots[i].x1, want[i].x1, 1e-9) << i;
    EXPECT_NEAR(dots[i].y1, want[i].y1, 0.006) << i;  // stated to two decimals
  }
  EXPECT_EQ(h.sf.DrawWidth(), 3) << "the spots leave the pen as they found it";
}

TEST(Valves, HeadsAreRedrawnOnlyWhenTheValveMovesOrARedrawIsDue) {
  struct Row {
    bool intake;
    double a, now, before;
    int clse, cylcyl;
    std::size_t lines;
  };
  const Row rows[] = {
      {true, -75, -20, -20, 0, 0, 5}, {true, -75, -20, -20, 1, 0, 7},
      {true, -75, -21, -20, 0, 0, 7}, {true, 150, -21, -20, 0, 0, 8},  // the collar's edge
      {false, 0, -20, -20, 1, 0, 3},  {false, 0, -20, -20, 0, 1, 5},
      {false, 75, -21, -20, 0, 0, 5}};
  for (const Row& r : rows) {
    EngineView v;
    v.p.st.clse = r.clse;
    v.p.st.cylcyl = r.cylcyl;
    v.sf.clear();
    (r.intake ? invalve : outvalve)(v.p, r.a, r.now, r.before);
    EXPECT_EQ(v.drawn(Op::Line).size(), r.lines) << (r.intake ? "intake " : "exhaust ") << r.a;
  }
  EngineView v;
  const Colour b = kWhite;
  const double c = 137.5, e = 150 + 50 / 4.4;
  v.sf.clear();
  invalve(v.p, 150, -21, -20);
  expectCalls(v.sf.drawing(),
              {{Op::Line, b, c - 1.18, 39, c + 1.18, 39},
               {Op::Box, kTeal, c - 1.18, 38, c + 1.18, 44.5},
               {Op::Line, b, c, -20, c, -21},
               {Op::Line, b, c, 90.5, c, 89.5},
               {Op::Line, b, c - 9, 90.5, c + 9, 90.5},
               {Op::Line, kTeal, c, -21, c, 89.5},
               {Op::Line, kTeal, c - 9, 89.5, c + 9, 89.5},
               {Op::Line, b, c - 10, -20, c + 10, -20},
               {Op::Line, kTeal, c - 10, -21, c + 10, -21}},
              "Corvane intake valve");
  v.sf.clear();
  outvalve(v.p, 150, -22, -23);
  expectCalls(v.sf.drawing(),
              {{Op::Line, b, e, -22.75, e, -21.75},
               {Op::Line, b, e, 67.25, e, 68.25},
               {Op::Line, kRed, e, -21.75, e, 68.25},
               {Op::Line, b, e - 9, -22.75, e + 9, -22.75},
               {Op::Line, kRed, e - 9, -21.75, e + 9, -21.75}},
              "Corvane exhaust valve");
}

// The middle engines differ on purpose: the Tessimo erase compares the long-lobe lift with
// lift1 and its bar shows the previous lost motion, the Lumivent bar the current one; the two
// draw in different orders.
TEST(MiddleEngines, PushRodsFollowTheirOwnTables) {
  EngineView v;
  State& st = v.p.st;
  st.ang = 1.0;
  st.ingoing = 2;     // Tessimo solenoid still shut: marks
  st.outgoing = 0.5;  // Lumivent solenoid open: none
  st.lifta = -24, st.lifta1 = -22, st.kkk = -26, st.lift1 = -25;
  st.liftb = -25, st.liftb1 = -24, st.lift = -27, st.lift11 = -26.5;
  const Colour b = kWhite, f = kBlack;
  double c = -12.5;  // V -24, V1 -22, K -26, K1 -25
  v.sf.clear();
  tessimoRod(v.p);
  expectCalls(v.sf.drawing(),
              {{Op::Line, b, c, -22, c, -24},
               {Op::Line, b, c, 36, c, 34},
               {Op::Line, b, c - 1.2, 36, c + 1.2, 36},
               {Op::Line, b, c - 10, -22, c + 10, -22},
               {Op::Box, b, c - 1.2, 37, c + 1.2, 35},
               {Op::Box, b, c - 1.2, 58, c + 1.2, 57},
               {Op::Box, b, c - 3.5, 44.5, c - 9, 49.5},
               {Op::Line, b, c, 58, c, 85.5},
               {Op::Line, b, c - 9, 85.5, c + 9, 85.5},
               {Op::Box, kOil, c - 1.2, 35, c + 1.2, 57},
               {Op::Box, kOil, c - 3.5, 44.5, c - 5, 49.5},
               {Op::Box, kOil, c - 3.5, 44.5, c - 1.5, 49.5},
               {Op::Line, kGreen, c, 57, c, 84.5},
               {Op::Line, kGreen, c - 9, 84.5, c + 9, 84.5},
               {Op::Line, kTeal, c, -24, c, 34},
               {Op::Line, kTeal, c - 1.2, 34, c + 1.2, 34},
               {Op::Line, kTeal, c - 10, -24, c + 10, -24},
               {Op::Line, kGreen, c - 1.2, 57, c + 1.2, 57},
               {Op::Line, f, c - 2, 48, c - 2, 51},
               {Op::Line, f, c - 2, 43, c - 2, 46}},
              "Tessimo");
  c = 62.5;  // V -25, V1 -24, K -27, K1 -26.5
  v.sf.clear();
  lumiventRod(v.p);
  expectCalls(v.sf.drawing(),
              {{Op::Line, b, c, -24, c, 34},
               {Op::Line, b, c - 1.2, 34, c + 1.2, 34},
               {Op::Line, b, c - 10, -24, c + 10, -24},
               {Op::Box, b, c - 1.2, 35, c + 1.2, 34},
               {Op::Box, b, c - 1.2, 56.5, c + 1.2, 56},
               {Op::Box, b, c - 3.5, 44.5, c - 4.75, 49.5},
               {Op::Box, b, c - 3.5, 44.5, c - 1.5, 49.5},
               {Op::Line, b, c, 56.5, c, 84},
               {Op::Line, b, c - 9, 84, c + 9, 84},
               {Op::Box, kOil, c - 1.2, 34, c + 1.2, 56},
               {Op::Line, kGreen, c - 1.2, 56, c + 1.2, 56},
               {Op::Box, kOil, c - 3.5, 44.5, c - 4.5, 49.5},
               {Op::Box, kOil, c - 3.5, 44.5, c - 1.5, 49.5},
               {Op::Line, kTeal, c, -25, c, 33},
               {Op::Line, kTeal, c - 1.2, 33, c + 1.2, 33},
               {Op::Line, kTeal, c - 10, -25, c + 10, -25},
               {Op::Line, kGreen, c, 56, c, 83.5},
               {Op::Line, kGreen, c - 9, 83.5, c + 9, 83.5}},
              "Lumivent");
  // Still rods draw only; the Tessimo erase is triggered by the long lobe against lift1.
  st.lifta1 = st.lifta, st.lift1 = st.kkk;
  const auto count = [&](void (*rod)(Program&)) {
    v.sf.clear();
    rod(v.p);
    return v.sf.drawing().size();
  };
  EXPECT_EQ(count(tessimoRod), 20u) << "long lobe differs from lift1: the erase runs";
  st.lift = st.lift1;
  EXPECT_EQ(count(tessimoRod), 11u) << "nothing moved: the draw group and marks alone";
  st.liftb1 = st.liftb, st.lift11 = st.lift;
  EXPECT_EQ(count(lumiventRod), 9u) << "nothing moved: the draw group alone";
}

// Oil is light orange everywhere; the darker orange is the Corvane exhaust spot's alone.
TEST(Colours, OilIsLightOrangeAndOrangeIsOnlyTheExhaustSpot) {
  for (const bool hidden : {false, true}) {
    test::Recorded h;
    if (hidden) {
      h.host.postAtStep(3, Event::key('p'));
      h.host.postAtStep(3, Event::key('p'));
    }
    h.runSteps(2 * 136);
    int oil = 0, redCollars = 0;
    for (const Call& c : h.sf.drawing()) {
      if (c.colour == kOrange) {
        EXPECT_TRUE(c.op == Op::PSet && c.x1 == 181.25);
      }
      if (c.op != Op::Box) continue;
      EXPECT_TRUE(c.colour == kWhite || c.colour == kOil || c.colour == kTeal || c.colour == kRed)
          << std::hex << c.colour;
      oil += c.colour == kOil;
      redCollars += c.colour == kRed;
    }
    EXPECT_GT(oil, 6 * 2 * 136 - 20) << "push rods and bars every step";
    EXPECT_EQ(redCollars > 200, hidden) << "the Corvane exhaust collar, with the graphs hidden";
  }
}

// Every speed and timing the mouse and keys can set, and the drift's overshoots: the figure
// stays finite, every step draws its whole cam polylines, and pen and colour are put back.
TEST(EngineBadInput, EverySettingTheControlsCanGiveLeavesTheFigureDrawable) {
  const std::array<double, 6> rows[] = {
      // rpm, ingoing, outgoing, outgoingd, outgoingde, mom
      {0, 1e-6, 2 * pi - 1e-6, 1.1 * pi + 1e-6, -0.2 * pi + 1e-6, 0},
      {12.5, 1.35 * pi - 1e-6, 1e-6, 2.05 * pi - 1e-6, 1.6 * pi - 1e-6, 0},
      {-16.9, 0.05, 2 * pi + 0.05, 1.95 * pi + 0.005, 1.5 * pi + 0.005, 1},
      {1.2, 1.3 * pi + 0.05, 0.05, 1.1 * pi - 0.005, -0.25 * pi - 0.005, 1},
      {40, 4.005, 6.005, 1.1 * pi, 0.14, 1},
      {-40, 0.195, 0.195, 2.05 * pi, -0.25 * pi, 1}};
  for (const auto& [rpm, ingoing, outgoing, outgoingd, outgoingde, mom] : rows) {
    EngineView v;
    State& st = v.p.st;
    st.rpm = rpm;
    st.stee = -(rpm * rpm) / 700;
    st.ingoing = ingoing, st.outgoing = outgoing, st.outgoingd = outgoingd;
    st.outgoingde = outgoingde, st.mom = static_cast<int>(mom);
    st.ang = -1.5 * pi;
    for (int i = 0; i < 300; ++i) {
      v.sf.clear();
      engineStep(v.p);
      int cam = 0;
      for (const Call& c : v.sf.drawing()) {
        ASSERT_TRUE(std::isfinite(c.x1 + c.y1 + c.x2 + c.y2)) << "rpm " << rpm << " step " << i;
        cam += c.op == Op::Line && c.foreColor == kSilver;
      }
      ASSERT_EQ(cam, 2 * (3 * 24 + 34)) << "rpm " << rpm;
      ASSERT_EQ(v.sf.DrawWidth(), 3);
      ASSERT_EQ(v.sf.ForeColor(), st.fco);
      st.ang1 = st.ang;
      st.ang += 2 * pi / 5000;
      if (st.ang > 2.5 * pi) st.ang = -1.5 * pi;
    }
  }
}

}  // namespace
}  // namespace corvane
