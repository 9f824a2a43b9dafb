// The main loop on the scripted host: when events reach handlers, how handlers nest, the
// first pass, pause and step mode, and End from inside a nested handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "harness.h"

namespace corvane {
namespace {

// A stand-in for the handlers: records what arrived and when, and gives "." and "," their
// pause and step meaning, "h" a waiting loop of its own and ESC the End.
struct Sink : EventSink {
  Sink(Program& p, ScriptedHost& h) : p(p), host(h) {}
  struct Arrival {
    int key;
    std::int64_t call;
    int depth;
  };
  void deliver(const Event& e) override {
    if (e.kind != Event::Kind::Key) return;
    arrivals.push_back({e.a, host.counts().calls, depth});
    if (e.a == '.') {
      p.st.stall = (p.st.stall + 1) % 2;
      p.st.stall9 = 1;
    } else if (e.a == ',') {
      p.st.stall9 = 0;
      p.st.stall = 0;
    } else if (e.a == 'h') {
      ++depth;
      waiting = true;
      while (waiting)
        host.DoEventsWait();
      --depth;
    } else if (e.a == 'q') {
      waiting = false;
    } else if (e.a == 27) {
      host.End();
    }
  }
  Program& p;
  ScriptedHost& host;
  std::vector<Arrival> arrivals;
  int depth = 0;
  bool waiting = false;
};

// The recorded program with the stand-in in place of the handlers.
struct Loop : ::testing::Test, test::Recorded {
  Sink sink{p, host};
  void SetUp() override { host.setSink(&sink); }
};

TEST_F(Loop, EventsArriveOnlyAtDoEventsInTheOrderGiven) {
  host.postAtCall(7, Event::key('x'));
  host.postAtCall(7, Event::key('y'));
  host.postAtCall(3, Event::key('w'));
  host.stopAfterStep(10);
  run();
  ASSERT_EQ(sink.arrivals.size(), 3u);
  EXPECT_EQ(sink.arrivals[0].key, 'w');
  EXPECT_EQ(sink.arrivals[0].call, 3);
  EXPECT_EQ(sink.arrivals[1].key, 'x');
  EXPECT_EQ(sink.arrivals[1].call, 7);
  EXPECT_EQ(sink.arrivals[2].key, 'y');
  EXPECT_EQ(sink.arrivals[2].call, 7);
}

TEST_F(Loop, AHandlerThatWaitsReceivesTheFollowingEventsNested) {
  host.postAtStep(2, Event::key('h'));
  host.postAtStep(2, Event::key('a'));
  host.postAtStep(2, Event::key('q'));
  host.postAtStep(3, Event::key('b'));
  host.stopAfterStep(4);
  run();
  ASSERT_EQ(sink.arrivals.size(), 4u);
  EXPECT_EQ(sink.arrivals[1].depth, 1);  // 'a' inside the waiting handler
  EXPECT_EQ(sink.arrivals[2].depth, 1);  // 'q' ends the wait
  EXPECT_EQ(sink.arrivals[3].depth, 0);  // 'b' after it, back in the main loop
  EXPECT_GT(host.counts().waits, 0);
}

TEST_F(Loop, EndFromANestedHandlerEndsTheRun) {
  host.postAtStep(2, Event::key('h'));
  host.postAtStep(2, Event::key(27));
  host.stopAfterStep(50);
  EXPECT_TRUE(run());
  EXPECT_EQ(host.counts().steps, 2);
}

TEST_F(Loop, FirstPassIsTheEngineViewWithAFullRedraw) {
  host.stopAfterStep(1);
  run();
  EXPECT_EQ(p.st.moo, 2);
  EXPECT_EQ(p.st.cylcyl, 0);
  // The engine view's scale and pen, then a clear that follows a DoEvents.
  const auto& calls = sf.calls();
  std::vector<Call::Op> ops;
  for (const Call& c : calls)
    ops.push_back(c.op);
  const auto clears = std::count(ops.begin(), ops.end(), Call::Op::Cls);
  EXPECT_EQ(clears, 2);  // the start-up clear and the engine view's entry
  const Call& entry = *std::find_if(calls.rbegin(), calls.rend(),
                                    [](const Call& c) { return c.op == Call::Op::Cls; });
  EXPECT_EQ(entry.scaleLeft, -110);
  EXPECT_EQ(entry.scaleTop, 150);
  EXPECT_EQ(entry.scaleWidth, 300);
  EXPECT_EQ(entry.drawWidth, 3);
  EXPECT_EQ(entry.backColor, kWhite);
  // The first step turns the crank from -1.5 pi by the step's own advance, -stee.
  EXPECT_NEAR(p.st.ang1, -1.5 * p.st.pi - p.st.stee, 1e-12);
  EXPECT_NEAR(p.st.stee, -64.0 / 700, 1e-15);
}

TEST_F(Loop, RunsAHundredAndTwentyStepsPerSecondOfTheHostClock) {
  host.stopAfterStep(240);
  run();
  EXPECT_NEAR(host.Now(), 2.0, 1.0 / 120);
}

// "." stops at the next step; each further "." lets exactly one step run; "," resumes.
TEST_F(Loop, StepModeRunsOneStepPerDotAndCommaResumes) {
  std::vector<double> angles;
  host.onPresent([&] { angles.push_back(p.st.ang); });
  host.postAtStep(5, Event::key('.'));
  host.postAtTime(1.0, Event::key('.'));
  host.postAtTime(2.0, Event::key('.'));
  host.postAtTime(3.0, Event::key(','));
  host.stopWhen([](const ScriptedHost& h) { return h.Now() > 3.5; });
  run();
  // Steps 1..5 ran, then two single steps, then free running from t = 3 s.
  const double dt = host.Now() - 3.0;
  const auto expected = 5 + 2 + static_cast<std::int64_t>(dt * 120);
  EXPECT_NEAR(host.counts().steps, expected, 2);
  EXPECT_EQ(p.st.stall, 0);
  EXPECT_EQ(p.st.stall9, 0);
  // While paused the waits present the same angle again and again: no step in between.
  std::int64_t repeats = 0;
  for (size_t i = 1; i < angles.size(); ++i)
    repeats += angles[i] == angles[i - 1];
  EXPECT_GT(repeats, 100);  // about three seconds of frames at 60 per second
}

TEST_F(Loop, AStepAtTheEndOfTheCycleStartsTheNextCycleAtItsBeginning) {
  const double step = 2 * std::atan(1.0) * 4 / 5000 + 64.0 / 700;
  const auto perCycle = static_cast<std::int64_t>(std::floor(4 * 4 * std::atan(1.0) / step)) + 1;
  host.stopAfterStep(perCycle + 1);
  run();
  EXPECT_NEAR(p.st.ang1, -1.5 * p.st.pi + 64.0 / 700, 1e-9);
}

TEST(Resize, RefitsTheEngineViewToTheNewWidthAtOnce) {
  test::Recorded h(1920, 1080);
  h.host.postAtStep(3, Event::resize(800, 600));
  h.host.stopAfterStep(3);
  h.run();
  EXPECT_EQ(h.sf.clientWidth(), 800);
  EXPECT_EQ(h.sf.clientHeight(), 600);
  EXPECT_DOUBLE_EQ(h.sf.pixelX(-110 + 300), 800.0);
  EXPECT_EQ(h.p.st.cylcyl, 1);
  // A clear at the new size, then the static figure: the cylinder walls come first.
  const auto drawing = h.sf.drawing();
  const auto clear = std::find_if(drawing.rbegin(), drawing.rend(),
                                  [](const Call& c) { return c.op == Call::Op::Cls; });
  ASSERT_NE(clear, drawing.rend());
  const Call& first = *(clear.base());
  EXPECT_EQ(first.op, Call::Op::Line);
  EXPECT_NEAR(first.x1, -75 - 50 / 1.9, 1e-9);
  EXPECT_EQ(first.scaleWidth, 300);
}

// Four space bars in one batch of events (the key held down) pass through every view and come
// back within one step: the engine view must not go on drawing in the help page's scale.
TEST(ViewRound, FourSpaceBarsInOneBatchRedrawTheEngineViewAtItsOwnScale) {
  test::Recorded h;
  for (int i = 0; i < 4; ++i)
    h.host.postAtStep(5, Event::key(' '));
  h.host.stopAfterStep(8);
  h.run();
  const auto drawing = h.sf.drawing();
  const auto lastText = std::find_if(drawing.rbegin(), drawing.rend(), [](const Call& c) {
    return c.op == Call::Op::Print && c.scaleTop == 165;
  });
  ASSERT_NE(lastText, drawing.rend()) << "the help page was shown";
  bool cleared = false;
  for (auto it = lastText.base(); it != drawing.end(); ++it) {
    EXPECT_EQ(it->scaleTop, 150) << "a call after the help page in another scale";
    cleared |= it->op == Call::Op::Cls;
  }
  EXPECT_TRUE(cleared) << "the engine view cleared the page and drew its figure again";
}

}  // namespace
}  // namespace corvane
