// The engine view's picture on the raster surface: nothing builds up from cycle to cycle, a
// pause or the graph key leaves no trace once the figure has gone round, and the shape cache
// paints exactly what cairo itself paints.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

// Steps in one crank cycle at the starting speed: 4 pi in steps of 2 pi/5000 + 64/700.
std::int64_t stepsPerCycle() {
  const double pi = 4 * std::atan(1.0);
  std::int64_t n = 0;
  for (double a = -1.5 * pi; a <= 2.5 * pi; a += 2 * pi / 5000) {
    a += 64.0 / 700;
    ++n;
  }
  return n;
}
const std::int64_t S = stepsPerCycle();

using Picture = std::vector<std::uint32_t>;

int differing(const Picture& a, const Picture& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    n += a[i] != b[i];
  return n;
}

// FNV-1a over the picture's pixels, for comparing many pictures cheaply.
std::uint64_t hashOf(const RasterSurface& sf) {
  std::uint64_t h = 1469598103934665603ull;
  for (int y = 0; y < sf.clientHeight(); ++y) {
    const std::uint32_t* row = sf.row(y);
    for (int x = 0; x < sf.clientWidth(); ++x)
      h = (h ^ (row[x] & 0x00FFFFFF)) * 1099511628211ull;
  }
  return h;
}

// A run that keeps the picture as it stands after each of the given steps.
struct Pictures {
  test::Rastered h;
  std::map<std::int64_t, Picture> at;
  explicit Pictures(std::vector<std::int64_t> steps, int w = 1920, int hgt = 1080) : h(w, hgt) {
    for (auto n : steps)
      at[n];
    h.host.onPresent([this] {
      const std::int64_t done = h.host.counts().steps - 1;  // presented before the next step
      auto it = at.find(done);
      if (it != at.end() && it->second.empty()) it->second = h.sf.snapshot();
    });
  }
  void runTo(std::int64_t n) {
    h.runSteps(n);
    at[n] = h.sf.snapshot();
  }
};

TEST(EnginePicture, CycleThreeEqualsCycleTenStepForStep) {
  const std::vector<std::int64_t> ks = {1, 40, 77, S - 1};
  std::vector<std::int64_t> steps;
  for (auto k : ks) {
    steps.push_back(2 * S + k);
    steps.push_back(9 * S + k);
  }
  Pictures run(steps);
  run.runTo(9 * S + S);
  for (auto k : ks) {
    const Picture& third = run.at[2 * S + k];
    const Picture& tenth = run.at[9 * S + k];
    ASSERT_FALSE(third.empty());
    EXPECT_EQ(differing(third, tenth), 0) << "step " << k << " of the cycle";
  }
  EXPECT_GT(differing(run.at[2 * S + 1], run.at[2 * S + 40]), 1000) << "the figure moves";
}

TEST(EnginePicture, APauseAndResumeLeaveThePictureOfAnUnpausedRun) {
  const std::int64_t n = 200, m = 260;
  Pictures plain({});
  plain.runTo(m);
  Pictures paused({});
  paused.h.host.postAtStep(n, Event::key('.'));    // stops after step n
  paused.h.host.postAtTime(3.0, Event::key('.'));  // one more step
  paused.h.host.postAtTime(3.5, Event::key(','));  // free running again
  paused.runTo(m);
  EXPECT_GT(paused.h.host.counts().waits, 40) << "the run did pause";
  EXPECT_EQ(differing(plain.at[m], paused.at[m]), 0);
}

// "p" pressed so that plot comes back to 1, then two whole cycles: the graphs and the
// figure are as if the key had never been pressed.
TEST(EnginePicture, GraphKeyRoundTripsLeaveNoTraceAfterTwoCycles) {
  const std::int64_t n = 150, m = n + 2 * S + 17;
  Pictures plain({n + 1});
  plain.runTo(m);
  struct Presses {
    const char* what;
    std::vector<std::int64_t> atSteps;
  };
  for (const Presses& ps : {Presses{"three presses in one DoEvents", {n, n, n}},
                            Presses{"a press, one step, a press", {n, n + 1}}}) {
    Pictures pressed({n + 1});
    for (auto k : ps.atSteps)
      pressed.h.host.postAtStep(k, Event::key('p'));
    pressed.runTo(m);
    EXPECT_EQ(pressed.h.p.st.plot, 1) << ps.what;
    EXPECT_GT(differing(pressed.at[n + 1], plain.at[n + 1]), 100) << ps.what << ": no effect?";
    EXPECT_EQ(differing(plain.at[m], pressed.at[m]), 0) << ps.what;
  }
}

// Steps of one cycle at a speed set from the pointer.
std::int64_t stepsPerCycleAt(double rpm) {
  const double pi = 4 * std::atan(1.0);
  std::int64_t n = 0;
  for (double a = -1.5 * pi; a <= 2.5 * pi; a += 2 * pi / 5000) {
    a += rpm * rpm / 700;
    ++n;
  }
  return n;
}

// Every moving part erased where it was drawn: after a change of speed the parts never again
// stand where they stood before, so whatever an erase missed stays on as a ghost. Three cycles
// at the new speed must look as they look in a run at that speed from the start, but for the
// few pixels the figure's own erases leave.
TEST(EnginePicture, AChangeOfSpeedLeavesNoGhostOfTheOldSpeed) {
  // The pointer in the speed strip at the height of rpm 5: Y = 5 * 44 - 385 = -165.
  const int px = 10, py = static_cast<int>(std::floor((150 - -165) * 1.689157)) + 1;
  Pictures before({}), after({});
  before.h.host.postAtStep(1, Event::move(px, py));
  after.h.host.postAtStep(3 * S + 1, Event::move(px, py));  // at the start of cycle 4
  const std::int64_t S2 = stepsPerCycleAt(5), k = 50;
  before.runTo(2 * S2 + k);
  after.runTo(3 * S + 2 * S2 + k);
  ASSERT_NEAR(before.h.p.st.rpm, 5, 0.03);
  ASSERT_EQ(after.h.p.st.rpm, before.h.p.st.rpm);
  EXPECT_LT(differing(before.at[2 * S2 + k], after.at[3 * S + 2 * S2 + k]), 10);
}

// The cache copies the pixels cairo painted for the same shape; no shape is rasterised
// differently on purpose, so the pictures must agree everywhere, at every step, also where
// the figure runs off a small window.
TEST(EnginePicture, ShapeCachePaintsWhatCairoPaintsAtEveryStep) {
  struct Size {
    int w, h;
    std::int64_t steps;
  };
  for (const Size& size : {Size{1016, 704, S + 40}, Size{1920, 1080, 30}, Size{333, 999, 60}}) {
    std::vector<std::uint64_t> hashes[2];
    for (int cached = 0; cached < 2; ++cached) {
      test::Rastered run(size.w, size.h);
      run.sf.setShapeCache(cached == 1);
      run.host.onPresent([&] { hashes[cached].push_back(hashOf(run.sf)); });
      run.runSteps(size.steps);
      hashes[cached].push_back(hashOf(run.sf));
    }
    ASSERT_EQ(hashes[0].size(), hashes[1].size());
    ASSERT_GT(hashes[0].size(), static_cast<std::size_t>(size.steps));
    for (std::size_t i = 0; i < hashes[0].size(); ++i)
      ASSERT_EQ(hashes[0][i], hashes[1][i]) << size.w << "x" << size.h << " at present " << i;
  }
}

}  // namespace
}  // namespace corvane
