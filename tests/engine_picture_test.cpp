// The engine view's pixels on the raster surface, with mom = 0, fixed speed and no input but
// the one under test: every cycle begins as on a cleared window, the exhaust column's bore
// stays whole, and the shape cache paints what cairo paints.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
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

// A part never erased looks the same in every cycle, so comparing cycles cannot find it; a
// window cleared just before a cycle's first step can. A refit clears the window and draws the
// static figure, and that step draws every moving part, as the main loop's cycle start does:
// the two pictures must be the same, the whole of them with the graphs hidden, and all but the
// four graph areas (which keep the cycle before) with the graphs shown. At two speeds.
TEST(EnginePicture, ACycleBeginsAsOnAFreshlyClearedWindow) {
  for (const bool hidden : {true, false}) {
    for (const int faster : {0, 16}) {  // Up presses of 0.25: speed 8, and 12
      const std::int64_t n = 3 * stepsPerCycle(8 + 0.25 * faster) + 1;
      test::Rastered plain(kDesignWidth, kDesignHeight), cleared(kDesignWidth, kDesignHeight);
      for (test::Rastered* h : {&plain, &cleared}) {
        for (int i = 0; i < faster; ++i)
          h->host.postAtStep(1, Event::nav(NavKey::Up));
        if (hidden) h->host.postAtStep(1, Event::key('p')), h->host.postAtStep(1, Event::key('p'));
      }
      cleared.host.postAtStep(n, Event::resize(kDesignWidth, kDesignHeight));
      plain.runSteps(n);
      cleared.runSteps(n);
      ASSERT_EQ(plain.p.st.ang1, -1.5 * plain.p.st.pi - plain.p.st.stee) << "the first step";
      ASSERT_EQ(cleared.host.counts().delivered, plain.host.counts().delivered + 1);
      const Surface& sf = plain.sf;
      const auto inGraphs = [&](int x, int y) {
        for (const double g : {-83.0, -8.0, 67.0, 142.0})
          if (x >= sf.pixelX(g) - 2 && x <= sf.pixelX(g + 53) + 2 && y >= sf.pixelY(70) - 2 &&
              y <= sf.pixelY(-5) + 2)
            return true;
        return false;
      };
      int ghosts = 0;
      for (int y = 0; y < sf.clientHeight(); ++y)
        for (int x = 0; x < sf.clientWidth(); ++x)
          ghosts += plain.sf.pixel(x, y) != cleared.sf.pixel(x, y) && (hidden || !inGraphs(x, y));
      EXPECT_EQ(ghosts, 0) << (hidden ? "graphs hidden, " : "graphs shown, ") << "speed "
                           << plain.p.st.rpm;
    }
  }
}

// Every picture presented over a whole cycle and more, cached against plain cairo, at several
// sizes; in the last, as narrow as the canvas, the crank pin crosses the left window edge.
TEST(EnginePicture, ShapeCachePaintsWhatCairoPaintsAtEveryStep) {
  const std::array<int, 2> sizes[] = {{1016, 704}, {800, 600}, {333, 999}};
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
