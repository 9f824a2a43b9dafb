// The order of one engine-view step on the recording surface and the three points where it
// lets events in. Where each part stands and in which colour the call-log hashes pin.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

using Op = Call::Op;

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
      if (c.op == Op::Line && std::abs(c.x1 - a - 50 / 4.4) < 1e-6 && c.x2 == c.x1) return 'e';
    const double x = c.x1;
    if (std::abs(x + 87.5) <= 10 || (x > -83 && x < -30) || (x >= 118 && x <= 148)) return 'i';
    return x >= -25 && x <= 0 ? 't' : x >= 50 && x <= 75 ? 'l' : 'm';
  };
  // Pistons and cranks, then the normal cams; the long cam, then the intakes driven by a cam
  // and the first graph; the Tessimo rod, then the Lumivent one; the spots first and the
  // exhaust valves last, other parts between.
  for (int s = 0; s < 4; ++s) {
    std::string runs;
    for (std::size_t i = marks[s]; i < marks[s + 1]; ++i) {
      const Call& c = h.sf.calls()[i];
      if (c.op != Op::Set && (runs.empty() || runs.back() != letter(c))) runs += letter(c);
    }
    const std::size_t n = runs.size();
    const bool inOrder[] = {
        n > 1 && runs.find('k') == n - 1, runs == "ki", runs == "tl",
        n > 2 && runs[0] == 's' && runs.find_first_of("se", 1) == n - 1 && runs[n - 1] == 'e'};
    EXPECT_TRUE(inOrder[s]) << "span " << s << ": " << runs;
  }
}

}  // namespace
}  // namespace corvane
