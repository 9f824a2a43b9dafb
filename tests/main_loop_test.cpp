// The main loop on the scripted host: when events reach handlers, how handlers nest, End from
// inside a nested handler, the first pass and its pace, the cycle's wrap, and the refits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

// A stand-in for the handlers: records what arrived, at which host call and how deeply
// nested; "h" runs a waiting loop of its own that "q" ends, "e" ends the program.
struct Sink : EventSink {
  explicit Sink(ScriptedHost& h) : host(h) {}
  void deliver(const Event& e) override {
    if (e.kind != Event::Kind::Key) return;
    keys += {static_cast<char>(e.a), static_cast<char>('0' + depth)};
    calls.push_back(host.counts().calls);
    if (e.a == 'h') {
      ++depth;
      for (waiting = true; waiting;)
        host.DoEventsWait();
      --depth;
    }
    waiting = waiting && e.a != 'q';
    if (e.a == 'e') host.End();
  }
  ScriptedHost& host;
  std::string keys;  // each key followed by its depth
  std::vector<std::int64_t> calls;
  int depth = 0;
  bool waiting = false;
};

// Events arrive only at the DoEvents call they were posted for, in the order given; those a
// waiting handler's own DoEvents take arrive nested in it, and End from there ends the run.
TEST(Loop, EventsArriveAtTheirDoEventsInOrderNestedInAWaitingHandler) {
  test::Recorded h;
  Sink sink(h.host);
  h.host.setSink(&sink);
  h.host.postAtCall(7, Event::key('x'));
  h.host.postAtCall(7, Event::key('y'));
  h.host.postAtCall(3, Event::key('w'));
  for (const int key : {'h', 'a', 'q'})
    h.host.postAtStep(20, Event::key(key));
  h.host.postAtStep(21, Event::key('b'));
  h.host.postAtStep(22, Event::key('h'));
  h.host.postAtStep(22, Event::key('e'));
  h.host.stopAfterStep(50);
  EXPECT_TRUE(h.run());
  ASSERT_EQ(sink.keys, "w0x0y0h0a1q1b0h0e1");
  EXPECT_EQ(std::vector(sink.calls.begin(), sink.calls.begin() + 3),
            std::vector<std::int64_t>({3, 7, 7}));
  EXPECT_EQ(h.host.counts().steps, 22);
}

// Where a picture refitted to 800 x 600 differs from a fresh run's at that size, outside the
// four small lift graphs (a record of the cycle so far, which a refit starts afresh): pixels
// the fresh run shows and the refit lacks or shows otherwise, and pixels the fresh run's
// erases took from the static figure or from a part drawn earlier in the step (the piston pin
// under the old rod, a base circle under the old valve cross line).
// {lacking, erasedInFresh}
std::pair<int, int> against(const RasterSurface& fresh, const RasterSurface& refitted) {
  const auto inGraphs = [&](int x, int y) {
    return std::any_of(kEngines.begin(), kEngines.end(), [&](double a) {
      return x >= fresh.pixelX(a - 8) - 2 && x <= fresh.pixelX(a + 45) + 2 &&
             y >= fresh.pixelY(70) - 2 && y <= fresh.pixelY(-5) + 2;
    });
  };
  std::pair<int, int> d;
  for (int y = 0; y < fresh.clientHeight(); ++y)
    for (int x = 0; x < fresh.clientWidth(); ++x)
      if (fresh.pixel(x, y) != refitted.pixel(x, y) && !inGraphs(x, y))
        ++(fresh.pixel(x, y) == kWhite ? d.second : d.first);
  return d;
}

// A resize refits the engine view at once: a clear at the new size, the static figure, and
// every moving part where the last step left it, erasing nothing. In step mode the picture is
// then the one a fresh run at the new size shows after that step. Resized within a step (at
// its pacing call, between the cam groups, before the push rods) and animated on, nothing of
// the refit stays behind: a part it drew where the steps do not erase it would show where the
// fresh run shows background.
TEST(Resize, AFreshRunsPictureAtOnce) {
  // step, call (0: the pacing call before the step, 1 and 2 its first two DoEvents), step mode
  const std::tuple<std::int64_t, int, bool> cases[] = {{10, 0, true},   {40, 0, true},
                                                       {150, 0, true},  {40, 1, false},
                                                       {100, 2, false}, {137, 0, false}};
  for (const auto& [step, call, stepMode] : cases) {
    test::Recorded counted(kDesignWidth, kDesignHeight);
    counted.runSteps(step - 1);
    test::Rastered refitted(kDesignWidth, kDesignHeight), fresh(800, 600);
    const std::int64_t last = stepMode ? step : step + 20;
    if (stepMode) {
      refitted.host.postAtStep(step, Event::key('.'));
      refitted.host.postAtTime(step / 120.0 + 0.5, Event::resize(800, 600));
      refitted.host.stopWhen([](const ScriptedHost& h) { return h.counts().delivered == 2; });
      refitted.run();
    } else {
      refitted.host.postAtCall(counted.host.counts().calls + call, Event::resize(800, 600));
      refitted.runSteps(last);
    }
    fresh.runSteps(last);
    ASSERT_EQ(refitted.p.st.ang1, fresh.p.st.ang1) << "step " << step;
    const auto [lacking, erasedInFresh] = against(fresh.sf, refitted.sf);
    EXPECT_EQ(lacking, 0) << "step " << step << ", call " << call;
    EXPECT_LE(erasedInFresh, stepMode ? 40 : 15) << "step " << step << ", call " << call;
  }
}

// From the start, resized before step `at` (0: not resized): the first pass enters the
// engine view with a full redraw at its scale and pen, at 120 steps a second of the host
// clock; the step after the last of a cycle starts the next one at -1.5 pi, turned by the
// step's own advance -stee = 64/700, and without a clear: the start-up clear, the engine
// view's entry and the refit, no more.
TEST(Loop, FirstPassAndTheNextCycleStartAtTheBeginningAtTheStepsPace) {
  const double pi = 4 * std::atan(1.0), step = 2 * pi / 5000 + 64.0 / 700;
  const auto perCycle = static_cast<std::int64_t>(std::floor(4 * pi / step)) + 1;
  for (std::int64_t at : {0, 10, 40, 100}) {
    SCOPED_TRACE("resized before step " + std::to_string(at));
    test::Recorded h;
    if (at > 0) h.host.postAtStep(at, Event::resize(800, 600));
    h.host.stopAfterStep(perCycle + 1);
    h.run();
    const auto calls = h.sf.drawing();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const Call& c) { return c.op == Call::Op::Cls; }),
              at > 0 ? 3 : 2);
    const Call entry = test::fromLastClear(h.sf).at(0);
    EXPECT_EQ(std::tuple(h.p.st.moo, h.p.st.cylcyl, entry.scaleLeft, entry.scaleTop,
                         entry.scaleWidth, entry.drawWidth, entry.backColor),
              std::tuple(2, 0, -110, 150, 300, 3, kWhite));
    EXPECT_NEAR(h.p.st.ang1, -1.5 * pi + 64.0 / 700, 1e-9);
    EXPECT_NEAR(h.host.Now(), (perCycle + 1) / 120.0, 1.0 / 120);
  }
}

}  // namespace
}  // namespace corvane
