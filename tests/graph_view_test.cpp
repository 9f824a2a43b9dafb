// The two graph views: a pass that changes nothing, the double space bar, history and colour
// reversal and the shape cache on the raster. Labels, readouts, areas, ticks and gauge
// gaps at the corners of the pointer's range the call-log hashes pin.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "graphs/graph_view.h"
#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

const double kPi = 4 * std::atan(1.0);
constexpr int kW = kDesignWidth, kH = kDesignHeight;  // the picture tests' size
using Calls = std::vector<Call>;

Calls pass(test::Recorded& h) {
  h.sf.clear();
  graphPass(h.p);
  return h.sf.calls();
}
void pass(test::Rastered& h) {
  graphPass(h.p);
}
// Space bars, each followed by a graph pass, until the view is moo.
template <class H>
void spaceTo(H& h, int moo) {
  while (h.p.st.moo != moo) {
    Form_KeyPress(h.p, ' ');
    pass(h);
  }
}
// From the engine view into view moo at the given point.
template <class H>
void enter(H& h, int moo, double rpm = 8, double endin = 1 - kPi) {
  h.startEngineView();
  std::tie(h.p.st.rpm, h.p.st.endin) = std::tuple(rpm, endin);
  spaceTo(h, moo);
}

// Also after a speed at or near zero, which must still give a positive scale and finite
// drawing (the mouse and the walk never go below about 1.17).
TEST(GraphView, AnUnchangedPassOnlySetsTheTopAndWaitsForInput) {
  for (const int moo : {1, 0}) {
    for (const double rpm : {5.0, 0.0, -3.0, 1e-12}) {
      SCOPED_TRACE(::testing::Message() << "view " << moo << " rpm " << rpm);
      test::Recorded h;
      enter(h, moo);
      h.p.st.rpm = rpm, h.p.st.endin = 0;
      for (const Call& c : pass(h))
        ASSERT_TRUE(std::isfinite(c.x1 + c.y1 + c.x2 + c.y2 + c.scaleLeft) && c.scaleWidth > 0);
      const auto before = h.host.counts();
      const Calls calls = pass(h);
      ASSERT_EQ(calls.size(), 1u);
      const auto& after = h.host.counts();
      EXPECT_EQ(std::tuple(calls[0].property, calls[0].x1, after.calls - before.calls,
                           after.waits - before.waits),
                std::tuple(Property::ScaleTop, 85, 1, 1))
          << "only the top set, then no frame: wait for input";
    }
  }
}

// Two space bars in one dispatch take the engine view straight to the time view, without a
// pass of the crank-angle view between; the picture is that of the two keys apart.
TEST(GraphPicture, TwoSpaceBarsInOneDispatchGiveTheTimeViewOfTwoApart) {
  for (const double t : {0.2, 1.0}) {  // first entry; after a round of all views
    test::Rastered apart(kW, kH), together(kW, kH);
    for (test::Rastered* h : {&apart, &together}) {
      for (double at = 0.2; at < t - 0.1; at += 0.2)  // both graph views, the page, and back
        h->host.postAtTime(at, Event::key(' '));
      h->host.postAtTime(t, Event::key(' '));
      h->host.stopWhen([](const ScriptedHost& s) { return s.Now() > 1.5; });
    }
    apart.host.postAtTime(t + 0.2, Event::key(' '));
    together.host.postAtTime(t, Event::key(' '));
    apart.run();
    together.run();
    ASSERT_EQ(together.p.st.moo, 0);
    EXPECT_TRUE(apart.sf.snapshot() == together.sf.snapshot()) << "at " << t;
  }
}

// The picture as a window shows it: what it showed, with the damaged rectangles copied anew.
void present(RasterSurface& sf, std::vector<std::uint32_t>& shown) {
  for (const PixelRect& r : sf.takeDamage())
    for (int y = r.y; y < r.y + r.h; ++y)
      std::copy_n(sf.row(y) + r.x, r.w, shown.begin() + static_cast<std::ptrdiff_t>(y) * kW + r.x);
}

// Under the automatic change every pass is a new operating point whose area lines the cache
// has mostly not met yet: passes with the cache paint what plain cairo paints, pass for pass,
// at the design size and a larger one, with the views' pen and a wider, even one. And the
// damage holds every pixel that a pass changed: the picture presented from it stays whole.
TEST(GraphPicture, TheShapeCachePaintsWhatCairoPaintsUnderTheAutomaticChange) {
  const std::array<int, 3> cases[] = {{1016, 704, 3}, {1920, 1080, 3}, {1016, 704, 6}};
  for (const auto& [w, h, pen] : cases) {
    for (const int moo : {1, 0}) {
      std::vector<std::uint64_t> shown[2];
      for (int cached = 0; cached < 2; ++cached) {
        test::Rastered run(w, h);
        run.sf.setShapeCache(cached == 1);
        enter(run, moo, 5, 0.2);
        run.sf.DrawWidth(pen);
        run.p.st.mo = 1;     // the automatic change on
        run.p.st.delno = 1;  // without its pause in the time view
        std::vector<std::uint32_t> screen = run.sf.snapshot();
        run.sf.takeDamage();
        for (int i = 0; i < 12; ++i) {
          pass(run);
          shown[cached].push_back(test::pictureHash(run.sf));
          if (w != kW) continue;
          present(run.sf, screen);
          ASSERT_TRUE(screen == run.sf.snapshot()) << "pass " << i << " view " << moo;
        }
      }
      EXPECT_EQ(shown[0], shown[1]) << w << "x" << h << " pen " << pen << " view " << moo;
    }
  }
}

// A picture depends only on what it shows: each graph view reached through other speeds,
// loads, three colour reversals and a spell of the automatic change (whose taken-back steps
// leave the load worked out for a point not shown) equals the view entered directly in the
// reversed colours at its last point, with the load gauge where it stands, pixel for pixel.
TEST(GraphPicture, DependsOnlyOnThePointShown) {
  const std::pair<double, double> path[] = {{8, 1 - kPi}, {12, 1.6}, {1.2, -2.0}, {5, 0.5},
                                            {2, -1.0},    {9, 1.2},  {3, 0.3}};
  for (const int moo : {1, 0}) {
    test::Rastered direct(kW, kH), through(kW, kH);
    enter(through, moo);
    for (std::size_t i = 0; i < std::size(path); ++i) {
      if (i == 3) {
        Form_KeyPress(through.p, 'c');
        pass(through);
        Form_KeyPress(through.p, 'c');
      }
      std::tie(through.p.st.rpm, through.p.st.endin) = path[i];
      pass(through);
    }
    through.p.st.mo = 1;
    for (int i = 0; i < 60; ++i)
      pass(through);
    through.p.st.mo = 0;
    pass(through);
    Form_KeyPress(through.p, 'c');
    pass(through);

    const State& st = through.p.st;
    direct.startEngineView();
    std::tie(direct.p.st.bco, direct.p.st.fco) = std::tuple(kBlack, kWhite);
    engineViewSettings(direct.p);
    std::tie(direct.p.st.rpm, direct.p.st.endin, direct.p.st.load) =
        std::tuple(st.rpm, st.endin, st.load);
    spaceTo(direct, moo);
    EXPECT_TRUE(direct.sf.snapshot() == through.sf.snapshot()) << "view " << moo;
  }
}

}  // namespace
}  // namespace corvane
