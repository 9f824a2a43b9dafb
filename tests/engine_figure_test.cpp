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

bool near(double a, double b) {
  return std::abs(a - b) < 1e-6;
}

// Whether the runs of one letter follow the pattern: its letters in order, each '.' one run or
// more of letters other than those beside it.
bool matches(const std::string& runs, const std::string& pattern) {
  std::size_t r = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '.') {
      if (r == runs.size() || runs[r++] != pattern[i]) return false;
      continue;
    }
    const std::size_t next = runs.find(pattern[i + 1], r);
    if (next == std::string::npos || next == r) return false;
    if (i > 0 && runs.find(pattern[i - 1], r) < next) return false;
    r = next;
  }
  return r == runs.size();
}

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
  const std::string spans[] = {".k", "ki", "tl", "s.e"};
  for (int s = 0; s < 4; ++s) {
    std::string runs;
    for (std::size_t i = marks[s]; i < marks[s + 1]; ++i) {
      const Call& c = h.sf.calls()[i];
      if (c.op != Op::Set && (runs.empty() || runs.back() != letter(c))) runs += letter(c);
    }
    EXPECT_TRUE(matches(runs, spans[s])) << "span " << s << ": " << runs;
  }
}

}  // namespace
}  // namespace corvane
