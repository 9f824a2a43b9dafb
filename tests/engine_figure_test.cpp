// The engine figure on the recording surface: where the moving parts stand, the order of one
// step and the three points where it lets events in, the middle engines' push rods, the
// colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

const double pi = 4 * std::atan(1.0);
using Op = Call::Op;

bool near(double a, double b) {
  return std::abs(a - b) < 1e-6;
}

// Whether a call of this kind and colour went from (x1, y1) to (x2, y2), or anywhere.
bool drew(const std::vector<Call>& calls, Op op, Colour c, double x1, double y1, double x2 = NAN,
          double y2 = NAN) {
  return std::any_of(calls.begin(), calls.end(), [&](const Call& k) {
    return k.op == op && k.colour == c && near(k.x1, x1) && near(k.y1, y1) &&
           (std::isnan(x2) || (near(k.x2, x2) && near(k.y2, y2)));
  });
}

// The engine view stepped to crank angle `ang` from `before`; the surface holds that step.
void stepTo(test::Recorded& h, double before, double ang) {
  h.startEngineView();
  h.p.st.ang = before + h.p.st.stee;
  h.step();
  h.sf.clear();
  h.p.st.ang = ang + h.p.st.stee;
  h.step();
}

double round2(double v) {
  return std::round(v * 100) / 100;
}

// At a quarter turn the piston pin is at Sqr(180^2 - 50^2) - 295, the crown 40 above it.
TEST(CrankAndPiston, DeadCentresAndAQuarterTurnOfAllFourEngines) {
  // crank angle, crank-pin x - a and y, piston-pin y, crown y
  for (const auto& [ang, pinX, pinY, pistonY, crownY] :
       {std::array{0.0, 0.0, -245.0, -65.0, -25.0}, std::array{pi, 0.0, -345.0, -165.0, -125.0},
        std::array{pi / 2, 25.0, -295.0, -122.08, -82.08}}) {
    test::Recorded h;
    stepTo(h, ang - 0.1, ang);
    // Skirt and crown lines (50 wide), piston pin, crank pin and journal: size, left x, y.
    std::vector<std::array<double, 3>> got, want;
    for (const Call& c : h.sf.drawing())
      if (c.colour == kBlack && (c.op == Op::Circle ? c.x2 != 11 : c.x2 - c.x1 == 50))
        got.push_back({c.op == Op::Circle ? c.x2 : 50, round2(c.x1), round2(c.y1)});
    for (const double a : {-75.0, 0.0, 75.0, 150.0})  // each engine's piston before its crank
      want.insert(want.end(), {{50, a - 25, round2(pistonY - 30)},
                               {50, a - 25, crownY},
                               {7, a, pistonY},
                               {10, a + pinX, pinY},
                               {12, a, -295}});
    EXPECT_EQ(got, want) << ang;
  }
}

TEST(Cams, NosesAndBaseCircles) {
  test::Recorded h;
  // The nose (entry 12 at phase 0.94, entry 22 at -0.1; entries 0.1 rad apart) points
  // straight up where half the crank angle cancels its angle, a quarter cam turn later right.
  for (const auto& [ang, x, y] :
       {std::array{-4.28, -12.0, 156.6}, std::array{-4.28, 138.0, 156.6},
        std::array{-4.28 + pi, -87 + 19.3, 118.0}, std::array{-4.2 + pi, 63 + 19.3, 118.0}}) {
    stepTo(h, ang - 0.1, ang);
    const auto cams = test::only(h.sf.calls(), [](auto& c) { return c.foreColor == kSilver; });
    EXPECT_TRUE(drew(cams, Op::Line, kBlack, x, y))
        << "nose at (" << x << ", " << y << "), crank angle " << ang;
  }
  for (const double cx : {-87.0, -12.0, 138.0, 63.0})
    EXPECT_TRUE(drew(h.sf.calls(), Op::Circle, kBlack, cx, 118, 11, 0)) << "base circle " << cx;
}

// A valve erases the stretch of stem it has left and draws its stem whole (intake: on
// a - 12.5 up to 110.5 above the head; exhaust: on a + ra/4.4, head 0.25 above the position,
// 90 long); its head only when it moved or a redraw is due.
TEST(Valves, StemsWhereTheyBelongAndHeadsOnlyWhenDue) {
  // intake, a, position now, before, clse, cylcyl, head drawn
  const std::array<double, 7> rows[] = {{1, -75, -20, -20, 0, 0, 0}, {1, -75, -20, -20, 1, 0, 1},
                                        {1, 0, -20, -20, 0, 1, 0},   {1, 150, -21, -20, 0, 0, 1},
                                        {0, 0, -20, -20, 1, 0, 0},   {0, 0, -20, -20, 0, 1, 1},
                                        {0, 150, -22, -23, 0, 0, 1}};
  for (const auto& [intake, a, now, before, clse, cylcyl, head] : rows) {
    test::Recorded h;
    h.startEngineView();
    h.p.st.clse = static_cast<int>(clse), h.p.st.cylcyl = static_cast<int>(cylcyl);
    h.sf.clear();
    const bool in = intake == 1;
    (in ? invalve : outvalve)(h.p, a, now, before);
    const double x = in ? a - 12.5 : a + 50 / 4.4, o = in ? 0 : 0.25, y = now + o;
    const double top = y + (in ? 110.5 : 90), half = in ? 10 : 9;
    const auto& k = h.sf.calls();
    const Colour c = in ? kTeal : kRed;
    EXPECT_TRUE(drew(k, Op::Line, c, x, y, x, top) &&
                drew(k, Op::Line, kWhite, x, before + o, x, y))
        << in << " " << a;
    EXPECT_EQ(drew(k, Op::Line, c, x - half, y, x + half, y), head == 1) << in << " " << a;
  }
}

// The middle engines differ on purpose: Tessimo erases when the long-lobe lift differs from
// lift1 and its oil-flow bar shows the previous lost motion; Lumivent erases when it differs
// from lift11, its bar shows the current lost motion, and it draws in another order.
TEST(MiddleEngines, EraseTriggersFlowBarsAndDrawOrders) {
  // lifta1, lift1, lift (long lobe), lift11, liftb1; Tessimo's bar end; who erases
  const std::array<double, 8> rows[] = {{-22, -25, -27, -26.5, -24, -17.5, 1, 1},
                                        {-24, -26, -27, -27, -25, -17, 1, 0},
                                        {-24, -27, -27, -26, -25, -17.5, 0, 1}};
  for (const auto& [lifta1, lift1, lift, lift11, liftb1, tessimoBar, tErases, lErases] : rows) {
    test::Recorded h;
    h.startEngineView();
    State& st = h.p.st;
    st.ang = 1.0, st.ingoing = 2, st.outgoing = 0.5;  // Tessimo's solenoid shut, Lumivent's open
    st.lifta = -24, st.kkk = -26, st.liftb = -25;     // V - K = 2 in both
    st.lifta1 = lifta1, st.lift1 = lift1, st.lift = lift, st.lift11 = lift11, st.liftb1 = liftb1;
    for (const bool tessimo : {true, false}) {
      h.sf.clear();
      (tessimo ? tessimoRod : lumiventRod)(h.p);
      const bool erases = (tessimo ? tErases : lErases) == 1;
      const auto drawing = h.sf.drawing();
      EXPECT_EQ(drawing.front().colour == kWhite, erases) << tessimo << " erases first";
      const double c = tessimo ? -12.5 : 62.5, bar = tessimo ? tessimoBar : 58;
      EXPECT_TRUE(drew(h.sf.calls(), Op::Box, kOil, c - 3.5, 44.5, bar, 49.5)) << tessimo;
      if (tessimo && erases) {  // Tessimo's old bar: from c - 5, 2 units per unit of V - K
        EXPECT_TRUE(drew(h.sf.calls(), Op::Box, kWhite, -16, 44.5, -21.5, 49.5));
      }
    }
  }
}

// One step of the second cycle, where the graphs are drawn too, cut at the host calls made
// during it: the pacing call, the step's three DoEvents, and the DoEvents after it.
TEST(StepOrder, FigureGroupsStandBetweenTheStepsDoEventsPoints) {
  constexpr std::int64_t kStep = 136 + 60;
  test::Recorded h;
  std::vector<std::size_t> marks;  // surface calls made before each host call of the step
  h.host.stopWhen([&](const ScriptedHost& host) {
    if (host.counts().steps >= kStep) marks.push_back(h.sf.calls().size());
    return host.counts().steps > kStep;
  });
  h.run();
  ASSERT_EQ(marks.size(), 6u) << "the pacing call, three DoEvents in the step, one after";
  EXPECT_EQ(marks[5], marks[4]) << "nothing drawn after the step";
  // A letter a call: k cam (silver pen), s spot, e exhaust valve stem, i the conventional or
  // Corvane intake or the first graph, t Tessimo rod, l Lumivent rod, m anything else.
  const auto letter = [](const Call& c) {
    if (c.foreColor == kSilver) return 'k';
    if (c.op == Op::PSet && c.drawWidth == 7) return 's';
    for (const double a : {-75.0, 0.0, 75.0, 150.0})
      if (c.op == Op::Line && near(c.x1, a + 50 / 4.4) && near(c.x2, c.x1)) return 'e';
    const double x = c.x1;
    if (std::abs(x + 87.5) <= 10 || (x > -83 && x < -30) || (x >= 118 && x <= 148)) return 'i';
    return x >= -25 && x <= 0 ? 't' : x >= 50 && x <= 75 ? 'l' : 'm';
  };
  // Pistons and cranks, then the normal cams; the long cam, then the intakes driven by a cam
  // and the first graph; the Tessimo rod, then the Lumivent one; the spots first and the
  // exhaust valves last.
  const char* spans[] = {"[^k]+k+", "k+i+", "t+l+", "s+[^s]*e+"};
  for (int s = 0; s < 4; ++s) {
    std::string got;
    for (std::size_t i = marks[s]; i < marks[s + 1]; ++i)
      if (h.sf.calls()[i].op != Op::Set) got += letter(h.sf.calls()[i]);
    EXPECT_TRUE(std::regex_match(got, std::regex(spans[s]))) << "span " << s << ": " << got;
  }
}

// The first step erases each spot at height 0, where none was drawn yet, draws it in its
// colour at the crown's height for its timing, leaves the pen as it found it, and only sets
// the crank's position. The darker orange is the Corvane exhaust spot's alone; light orange is
// the oil. From the second cycle on the graphs are hidden, their four areas wiped, and the
// Corvane exhaust oil column shows instead.
TEST(Spots, PlacesAndColoursFromTheFirstStepOn) {
  test::Recorded h;
  h.host.postAtStep(137, Event::key('p'));
  h.runSteps(2 * 136);
  const auto& k = h.sf.calls();
  std::vector<std::tuple<Colour, double, double>> got, want;
  std::size_t firstSpots = 0, firstCrank = 0;
  for (std::size_t i = 0; i < k.size(); ++i) {
    if (k[i].op == Op::PSet && k[i].drawWidth == 7 && got.size() < 8)
      got.push_back({k[i].colour, k[i].x1, round2(k[i].y1)}), firstSpots = i;
    if (k[i].op == Op::Circle && k[i].x2 != 11 && firstCrank == 0) firstCrank = i;
  }
  for (const auto& [c, x, y] : {std::tuple(kRed, -31.25, -82.08),
                                {kCyan, 43.75, -82.08},
                                {kTeal, 118.75, -82.08},
                                {kOrange, 181.25, -25.62}})
    want.insert(want.end(), {{kWhite, x, 0}, {c, x, y}});
  EXPECT_EQ(got, want);
  EXPECT_EQ(std::tuple(k[firstSpots + 1].property, k[firstSpots + 1].x1),
            std::tuple(Property::DrawWidth, 3))
      << "the pen put back";
  EXPECT_GT(firstCrank, firstSpots) << "no crank drawn in the first step";
  const auto orange = test::only(k, [](const Call& c) { return c.colour == kOrange; });
  EXPECT_EQ(orange.size(), 2u * 136) << "the Corvane exhaust spot, every step";
  for (const Call& c : orange)
    EXPECT_TRUE(c.op == Op::PSet && c.x1 == 181.25) << c.x1;
  EXPECT_GT(test::only(k, [](auto& c) { return c.colour == kOil && c.x1 > 160; }).size(), 300u)
      << "the exhaust oil column";
  for (const double x : {-83.0, -8.0, 67.0, 142.0})
    EXPECT_TRUE(drew(k, Op::Box, kWhite, x, -5, x + 53, 70)) << "graph area " << x;
}

}  // namespace
}  // namespace corvane
