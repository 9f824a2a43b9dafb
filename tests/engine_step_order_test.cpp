// The order of one engine-view step on the recording surface: piston before crank for each
// engine, the cams in silver, the three DoEvents points between the right groups of figures.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

// A step of the second cycle, where the graphs are drawn too.
constexpr std::int64_t kStep = 136 + 60;

struct Mark {
  ScriptedHost::Counts counts;
  std::size_t calls;  // surface calls made before this host call
};

// Runs to kStep, noting at every call of the DoEvents family how far the drawing had got.
struct Marked {
  test::Recorded h;
  std::vector<Mark> marks;
  Marked() {
    h.host.stopWhen([this](const ScriptedHost& host) {
      marks.push_back({host.counts(), h.sf.calls().size()});
      return host.counts().steps > kStep;
    });
    h.run();
  }
  // The drawing calls between two marks.
  std::vector<Call> between(std::size_t from, std::size_t to) const {
    std::vector<Call> out;
    for (std::size_t i = marks[from].calls; i < marks[to].calls; ++i)
      if (h.sf.calls()[i].op != Call::Op::Set) out.push_back(h.sf.calls()[i]);
    return out;
  }
};

TEST(StepOrder, FigureGroupsStandBetweenTheStepsDoEventsPoints) {
  Marked m;
  // The pacing call before the step, three DoEvents inside it, one after it.
  std::size_t s = 0;
  while (m.marks[s].counts.steps < kStep)
    ++s;
  ASSERT_LT(s + 5, m.marks.size());
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(m.marks[s + i].counts.doEvents, m.marks[s].counts.doEvents + i);
    EXPECT_EQ(m.marks[s + i].counts.steps, kStep);
  }
  EXPECT_EQ(m.marks[s + 5].counts.steps, kStep + 1);
  EXPECT_EQ(m.marks[s + 5].calls, m.marks[s + 4].calls) << "nothing drawn after the step";

  // Before the first point: for each engine in turn its piston (two circles of radius 7)
  // then its crank (10, 10, 12); then the normal cams in silver and their base circles.
  const auto a = m.between(s, s + 1);
  std::vector<double> radii, centres;
  for (const Call& c : a)
    if (c.op == Call::Op::Circle) {
      radii.push_back(c.x2);
      centres.push_back(c.x2 == 7 || c.x2 == 12 ? c.x1 : NAN);
    }
  const std::vector<double> crankPattern = {7, 7, 10, 10, 12};
  std::vector<double> want;
  for (int e = 0; e < 4; ++e)
    want.insert(want.end(), crankPattern.begin(), crankPattern.end());
  want.insert(want.end(), {11, 11, 11});
  EXPECT_EQ(radii, want);
  for (int e = 0; e < 4; ++e) {
    EXPECT_EQ(centres[e * 5], -75 + 75 * e) << "piston of engine " << e;
    EXPECT_EQ(centres[e * 5 + 4], -75 + 75 * e) << "main journal of engine " << e;
  }
  ASSERT_EQ(a.size(), 4u * 19 + 144 + 3);
  for (std::size_t i = 0; i < 76; ++i)
    EXPECT_NE(a[i].foreColor, kSilver);
  for (std::size_t i = 76; i < a.size(); ++i)
    EXPECT_EQ(a[i].foreColor, kSilver) << "cams are drawn with the pen colour silver";

  // Between the first and second: the long cam, then the conventional and Corvane intakes
  // and the first graph, with the pen colour back.
  const auto b = m.between(s + 1, s + 2);
  ASSERT_GT(b.size(), 69u);
  for (std::size_t i = 0; i < 69; ++i)
    EXPECT_EQ(b[i].foreColor, kSilver);
  EXPECT_EQ(b[68].op, Call::Op::Circle);
  EXPECT_EQ(b[68].x1, 63);
  for (std::size_t i = 69; i < b.size(); ++i) {
    EXPECT_EQ(b[i].foreColor, kBlack);
    const bool conventional = std::abs(b[i].x1 + 87.5) <= 10;
    const bool corvane = b[i].x1 >= 118 && b[i].x1 <= 148;
    const bool graph = b[i].drawWidth == 3 && b[i].x1 > -83 && b[i].x1 < -30;
    EXPECT_TRUE(conventional || corvane || graph) << "call " << i << " at x " << b[i].x1;
  }

  // Between the second and third: the Tessimo rod, then the Lumivent one.
  const auto c = m.between(s + 2, s + 3);
  ASSERT_FALSE(c.empty());
  bool lumivent = false;
  for (const Call& k : c) {
    const bool t = k.x1 >= -25 && k.x1 <= 0;
    const bool l = k.x1 >= 50 && k.x1 <= 75;
    EXPECT_TRUE(t || l) << "x " << k.x1;
    if (l) lumivent = true;
    if (lumivent) {
      EXPECT_FALSE(t) << "Tessimo after Lumivent";
    }
  }

  // After the third: the four spots first, then the graphs, the exhaust valves last.
  const auto d = m.between(s + 3, s + 4);
  ASSERT_GT(d.size(), 8u + 12);
  const double spotX[] = {-31.25, 43.75, 118.75, 181.25};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(d[i].op, Call::Op::PSet);
    EXPECT_EQ(d[i].drawWidth, 7);
    EXPECT_EQ(d[i].x1, spotX[i / 2]);
  }
  const double e = 50 / 4.4;
  const double valveX[] = {-75 + e, e, 75 + e, 150 + e};
  const std::size_t last = d.size();
  for (int v = 0; v < 4; ++v)
    for (int j = 0; j < 3; ++j)  // two erase lines and the stem of each, no heads at rest
      EXPECT_NEAR(d[last - 12 + v * 3 + j].x1, valveX[v], 1e-9) << "valve " << v;
  EXPECT_EQ(d[last - 1].colour, kRed);
}

}  // namespace
}  // namespace corvane
