// The engine view's pixels on the raster surface, with mom = 0, fixed speed and no input but
// the one under test: nothing builds up from cycle to cycle or stays behind after a change of
// speed, a pause or the graph key, and the shape cache paints exactly what cairo paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

// Steps of one crank cycle: 4 pi in steps of 2 pi/5000 + rpm^2/700.
std::int64_t stepsPerCycle(double rpm) {
  const double pi = 4 * std::atan(1.0);
  std::int64_t n = 0;
  for (double a = -1.5 * pi; a <= 2.5 * pi; a += 2 * pi / 5000 + rpm * rpm / 700)
    ++n;
  return n;
}
const std::int64_t S = stepsPerCycle(8);

using Picture = std::vector<std::uint32_t>;

// Pixels that differ from index `from` on.
int differing(const Picture& a, const Picture& b, std::size_t from = 0) {
  int n = 0;
  for (std::size_t i = from; i < a.size(); ++i)
    n += a[i] != b[i];
  return n;
}

struct Shot {
  double ang;  // the crank angle of the step
  Picture px;
};

// Runs h to step `last` and keeps the picture as it stands after each of `steps` and `last`.
std::map<std::int64_t, Shot> pictures(test::Rastered& h, std::int64_t last,
                                      std::vector<std::int64_t> steps = {}) {
  std::map<std::int64_t, Shot> at;
  h.host.onPresent([&] {
    const std::int64_t done = h.host.counts().steps - 1;  // presented before the next step
    if (std::count(steps.begin(), steps.end(), done) && !at.count(done))
      at[done] = {h.p.st.ang1, h.sf.snapshot()};
  });
  h.runSteps(last);
  at[last] = {h.p.st.ang1, h.sf.snapshot()};
  return at;
}

// Cycle 3 and cycle 10 look the same step for step. A part never erased looks the same in
// every cycle too; a fresh view drawn at the same angles has no such ghost. After a change of
// speed the parts never again stand where they stood before, so whatever an erase missed, even
// once a cycle, stays: two cycles and a bit at the new speed must look as a run at that speed
// from the start, but for the few pixels the figure's own erases leave.
TEST(EnginePicture, NothingBuildsUpOverCyclesNorStaysAfterAChangeOfSpeed) {
  const std::int64_t ks[] = {1, 15, 16, 17, 40, 77, S - 1}, S5 = stepsPerCycle(5);
  const std::int64_t last = 10 * S + 2 * S5 + 50;
  std::vector<std::int64_t> steps;
  for (auto k : ks)
    steps.insert(steps.end(), {2 * S + k, 9 * S + k});
  // The pointer in the speed strip at the height of rpm 5: Y = 5 * 44 - 385 = -165.
  const double unitY = kDesignPixelsPerUnitY * 1080 / kDesignHeight;
  const Event toRpm5 = Event::move(10, static_cast<int>(std::floor((150 - -165) * unitY)) + 1);
  test::Rastered slow, changed;
  slow.host.postAtStep(1, toRpm5);
  changed.host.postAtStep(10 * S + 1, toRpm5);  // at the start of cycle 11
  auto at = pictures(changed, last, steps);
  for (auto k : ks) {
    ASSERT_FALSE(at[2 * S + k].px.empty());
    EXPECT_EQ(differing(at[2 * S + k].px, at[9 * S + k].px), 0) << "step " << k << " of the cycle";
  }
  EXPECT_GT(differing(at[2 * S + 1].px, at[2 * S + 40].px), 1000) << "the figure moves";
  // Near bottom dead centre every valve follows its cam: a fresh view drawn at the last three
  // angles looks the same below the graphs (y = -10 down), but where the cranks nick the captions.
  test::Rastered fresh;
  fresh.startEngineView();
  for (const std::int64_t k : {15, 16, 17}) {
    fresh.p.st.ang = at[2 * S + k].ang + fresh.p.st.stee;
    fresh.step();
  }
  const auto belowGraphs = static_cast<std::size_t>(fresh.sf.pixelY(-10)) * 1920;
  EXPECT_LT(differing(fresh.sf.snapshot(), at[2 * S + 17].px, belowGraphs), 300);
  auto ref = pictures(slow, 2 * S5 + 50);
  ASSERT_NEAR(slow.p.st.rpm, 5, 0.03);
  ASSERT_EQ(changed.p.st.rpm, slow.p.st.rpm);
  EXPECT_LT(differing(ref[2 * S5 + 50].px, at[last].px), 10);
}

// Input whose effect must be gone once the figure has gone round twice: a pause ("." stops,
// "." lets one more step run, "," runs on), and "p" pressed until plot is back at 1, three
// times in one DoEvents, or once and once more a step later.
TEST(EnginePicture, APauseOrTheGraphKeyLeavesNoTraceAfterTwoCycles) {
  const std::int64_t n = 150, m = n + 2 * S + 17;
  test::Rastered plain;
  auto a = pictures(plain, m, {n + 1});
  const std::vector<std::int64_t> presses[] = {{}, {n, n, n}, {n, n + 1}};
  for (int i = 0; i < 3; ++i) {
    test::Rastered run;
    if (i == 0) {
      run.host.postAtStep(n, Event::key('.'));
      run.host.postAtTime(3.0, Event::key('.'));
      run.host.postAtTime(3.5, Event::key(','));
    }
    for (auto k : presses[i])
      run.host.postAtStep(k, Event::key('p'));
    auto b = pictures(run, m, {n + 1});
    EXPECT_TRUE(i == 0 ? run.host.counts().waits > 40 : differing(a[n + 1].px, b[n + 1].px) > 100)
        << i << ": the input had an effect";
    EXPECT_EQ(run.p.st.plot, 1) << i;
    EXPECT_EQ(differing(a[m].px, b[m].px), 0) << i;
  }
}

// How far the circles of the first cycle reach past the left window edge with half the pen,
// in pixels.
double farthestLeftOfTheWindow(int w, int h) {
  test::Recorded run(w, h);
  run.runSteps(S);
  double reach = 0;
  for (const Call& c : run.sf.calls())
    if (c.op == Call::Op::Circle)
      reach = std::max(reach, c.drawWidth / 2.0 - run.sf.pixelX(c.x1 - c.x2));
  return reach;
}

// Every picture presented over a whole cycle and more, cached against plain cairo, at several
// sizes; in the last, narrow and tall, the canvas fills the width and the crank pin crosses
// the left window edge, where cairo clips.
TEST(EnginePicture, ShapeCachePaintsWhatCairoPaintsAtEveryStep) {
  const std::array<int, 2> sizes[] = {{1016, 704}, {1920, 1080}, {333, 999}};
  EXPECT_GT(farthestLeftOfTheWindow(333, 999), 1);
  for (const auto& [w, h] : sizes) {
    std::vector<std::uint64_t> shown[2];
    for (int cached = 0; cached < 2; ++cached) {
      test::Rastered run(w, h);
      run.sf.setShapeCache(cached == 1);
      run.host.onPresent([&] { shown[cached].push_back(test::pictureHash(run.sf)); });
      run.runSteps(S + 40);
      shown[cached].push_back(test::pictureHash(run.sf));
    }
    ASSERT_GT(shown[0].size(), static_cast<std::size_t>(S));
    EXPECT_EQ(shown[0], shown[1]) << w << "x" << h;
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A change of speed leaves no trace: after it and one whole cycle, the next cycle looks step
// for step as the second cycle of a run at the new speed from the start, lift graphs shown or
// hidden. The change falls on the first step of the third cycle, so the angles are the same.
TEST(EnginePicture, AfterASpeedChangeAndACycleEachStepIsAsInAFreshRun) {
  // The pointer in the speed strip at the row for a speed (44 vertical units per unit of rpm).
  const auto pointerAt = [](double rpm) {
    const int row = static_cast<int>(std::ceil((150 - (44 * rpm - 385)) * kDesignPixelsPerUnitY));
    return Event::move(5, row);
  };
  // Hashes of every fifth picture of cycle `keep`; the speed changes as cycle `change` begins.
  const auto run = [&](double from, double to, bool hidden, int change, int keep) {
    test::Rastered h(kDesignWidth, kDesignHeight);
    h.host.postAtStep(1, pointerAt(change == 1 ? to : from));
    if (hidden) h.host.postAtStep(1, Event::key('p'));
    int cycle = 0;
    std::int64_t step = 0;
    std::vector<std::uint64_t> kept;
    h.host.onPresent([&] {
      if (h.p.st.ang == -1.5 * h.p.st.pi) {  // the crank cycle is about to begin
        if (++cycle == change && change > 1) h.host.post(pointerAt(to));
        step = 0;
      }
      if (cycle == keep && ++step % 5 == 0) kept.push_back(test::pictureHash(h.sf));
    });
    h.host.stopWhen([&](const ScriptedHost&) { return cycle > keep; });
    h.run();
    return kept;
  };
  const std::tuple<double, double, bool> changes[] = {
      {5, 12, false}, {12, 8, false}, {12, 8, true}};
  for (const auto& [from, to, hidden] : changes) {
    const auto want = run(from, to, hidden, 1, 2);
    EXPECT_GT(want.size(), 10u);
    EXPECT_EQ(run(from, to, hidden, 3, 4), want)
        << from << " to " << to << (hidden ? ", graphs hidden" : "");
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Once the Corvane intake valve has closed, its collar has left nothing of itself below it
// in the bore: beside the stem, under the collar's lower edge, no teal.
TEST(EnginePicture, TheCorvaneCollarLeavesNoTealBelowItWhenTheValveCloses) {
  test::Rastered h(kDesignWidth, kDesignHeight);
  h.runSteps(120);
  ASSERT_NEAR(h.p.st.liftc, -16, 0.01);
  ASSERT_NEAR(h.p.st.liftc1, -16, 0.01);
  const double v = 150 - h.p.st.ra / 4;
  const int stem = static_cast<int>(h.sf.pixelX(v));  // the stem: 3 pixels about it
  int teal = 0;
  for (int y = static_cast<int>(h.sf.pixelY(59 - 16 - 1)); y < h.sf.pixelY(20); ++y)
    for (int x = static_cast<int>(h.sf.pixelX(v - 1.6)); x <= h.sf.pixelX(v + 1.6); ++x)
      teal += std::abs(x - stem) > 1 && h.sf.pixel(x, y) == pixelOf(kTeal);
  EXPECT_EQ(teal, 0);
}

// With the lift graphs hidden, the Corvane exhaust column moves in its bore: at every step of
// the valve's travel, at any zoom, both walls of the bore stay whole beside it.
TEST(EnginePicture, TheCorvaneExhaustColumnKeepsItsBoreWallsWhole) {
  const std::array<int, 2> sizes[] = {{kDesignWidth, kDesignHeight}, {1366, 768}};
  for (const auto& [width, height] : sizes) {
    test::Rastered h(width, height);
    h.host.postAtTick(1, Event::key('p'));
    int nicked = 0, shown = 0;
    h.host.onPresent([&] {
      if (h.p.st.plot != 0 || h.p.st.plott != 0) return;
      ++shown;
      const double w = 148.9 + h.p.st.ra / 4;
      for (double y = 20.5; y < 43; y += 0.25)
        for (const double x : {w - 2, w + 2})
          for (int dx = -1; dx <= 1; ++dx)  // a wall is three pixels wide
            nicked += h.sf.pixel(static_cast<int>(h.sf.pixelX(x)) + dx,
                                 static_cast<int>(h.sf.pixelY(y))) != pixelOf(h.p.st.fco);
    });
    h.runSteps(60);
    EXPECT_GT(shown, 40) << width << "x" << height;
    EXPECT_EQ(nicked, 0) << width << "x" << height;
  }
}

}  // namespace
}  // namespace corvane
