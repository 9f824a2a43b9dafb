// The random walk of speed and load in the graph views: its limits, turns and take-backs,
// the numbers it draws, and the pacing delay of the time view.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/main_loop.h"
#include "core/program.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"
#include "graphs/auto_change.h"
#include "graphs/graph_view.h"

namespace corvane {
namespace {

const double kPi = 4 * std::atan(1.0);

// The uncapped load and the R.P.M. shown, written out again from their formulas.
double loadAt(double rpm, double endin) {
  return std::floor(0.965 *
                    (62 + std::floor(27 * (endin - 0.045 * rpm * (100 - 55 * endin) / 100))));
}
double shownRpm(double rpm) {
  return std::floor(std::pow(3.9 * rpm, 1.18)) * 100;
}

struct AutoChange : ::testing::Test {
  Surface sf{1920, 1080};  // paints nothing
  ScriptedHost host;
  Program p{sf, host};
  void SetUp() override {
    initialise(p);
    p.st.mo = 1;
    p.st.moo = 1;
  }
};

TEST_F(AutoChange, StaysInItsRangeTurnsAtTheLimitsAndTakesBackStepsOutOfRange) {
  RandomSequence twin;  // the same fixed sequence, drawn alongside
  long takenBack = 0, turnedDown = 0, turnedUp = 0, loadTurnedDown = 0, loadTurnedUp = 0;
  double highest = 0;
  for (int pass = 0; pass < 100000; ++pass) {
    State& st = p.st;
    const double rpm = st.rpm, endin = st.endin, drpm = st.drpm, dendin = st.dendin;
    // The step as stated: rpm + drpm·(2·Rnd) with the doubling in single precision, then
    // endin + dendin·(0.5·Rnd); two more numbers decide the random turns.
    const float r1 = twin(), r2 = twin(), r3 = twin(), r4 = twin();
    const double newRpm = rpm + drpm * static_cast<double>(2.0f * r1);
    const double newEndin = endin + dendin * 0.5 * static_cast<double>(r2);
    autoChange(p);
    ASSERT_EQ(st.rpm2, rpm);
    ASSERT_EQ(st.endin2, endin);
    ASSERT_EQ(st.load, loadAt(newRpm, newEndin)) << "the load of the step, kept or not";

    const double clamped = newRpm < 0 ? 0 : newRpm;
    const double load = loadAt(clamped, newEndin);
    const bool outOfRange = shownRpm(clamped) < 600 || load < -18 || load >= 100;
    if (outOfRange) {
      ++takenBack;
      ASSERT_EQ(st.rpm, rpm);
      ASSERT_EQ(st.endin, endin);
    } else {
      ASSERT_EQ(st.rpm, newRpm);
      ASSERT_EQ(st.endin, newEndin);
    }
    // Turns at the limits stand, even for a step that is taken back; only a random turn
    // inside its band can reverse them again.
    const bool speedBand = std::abs(newRpm - 5) < 3 && r3 > 0.8f;
    const bool loadBand = std::abs(newEndin) < 1 && r4 > 0.95f;
    if (newRpm > 9) {
      ASSERT_EQ(st.drpm, -1);
      turnedDown += drpm == 1;
    } else if (newRpm < 3) {
      ASSERT_EQ(st.drpm, speedBand ? -1 : 1);
      turnedUp += drpm == -1;
    } else {
      ASSERT_EQ(st.drpm, speedBand ? -drpm : drpm);
    }
    if (newEndin > 1.6) {
      ASSERT_EQ(st.dendin, -1);
      loadTurnedDown += dendin == 1;
    } else if (newEndin < -2) {
      ASSERT_EQ(st.dendin, 1);
      loadTurnedUp += dendin == -1;
    } else {
      ASSERT_EQ(st.dendin, loadBand ? -dendin : dendin);
    }
    // Every point the walk keeps lies in the admissible range.
    ASSERT_GE(st.rpm, 1.17);
    ASSERT_LT(st.rpm, 12);
    ASSERT_GE(st.endin, -2.5);
    ASSERT_LT(st.endin, 2.1);
    ASSERT_GE(loadAt(st.rpm, st.endin), -18);
    ASSERT_LE(loadAt(st.rpm, st.endin), 99);
    highest = std::max(highest, st.rpm);
  }
  EXPECT_EQ(p.Rnd(), twin()) << "four numbers a pass, no more";
  EXPECT_GT(takenBack, 100);
  EXPECT_GT(turnedDown, 100);
  EXPECT_GT(turnedUp, 100);
  EXPECT_GT(loadTurnedDown, 100);
  EXPECT_GT(loadTurnedUp, 100);
  EXPECT_GT(highest, 9);
  EXPECT_EQ(host.counts().delays, 0) << "no pause in the crank-angle view";
}

TEST_F(AutoChange, FirstStepsFromTheStartRaiseBothAndOffDrawsNoNumber) {
  // Off: only rpm2 and endin2 are recorded, and the sequence is untouched.
  p.st.mo = 0;
  p.st.rpm = 4.5;
  for (int i = 0; i < 10; ++i)
    autoChange(p);
  EXPECT_EQ(p.st.rpm, 4.5);
  EXPECT_EQ(p.st.rpm2, 4.5);
  EXPECT_EQ(p.st.endin2, 1 - kPi);
  EXPECT_EQ(p.Rnd(), RandomSequence()()) << "no number drawn while off";

  // On from the start point (rpm 8, endin 1 − pi, both walks rising).
  SetUp();
  const double rpm0 = p.st.rpm, endin0 = p.st.endin;
  autoChange(p);
  EXPECT_GT(p.st.rpm, rpm0);
  EXPECT_LT(p.st.rpm, rpm0 + 2);
  EXPECT_GT(p.st.endin, endin0);
  EXPECT_LT(p.st.endin, endin0 + 0.5);
  // Every run walks the same way.
  std::vector<double> first;
  for (int run = 0; run < 2; ++run) {
    SetUp();
    p.Rnd = RandomSequence();
    std::vector<double> path;
    for (int i = 0; i < 50; ++i) {
      autoChange(p);
      path.push_back(p.st.rpm);
      path.push_back(p.st.endin);
    }
    if (run == 0) first = path;
    EXPECT_EQ(path, first);
  }
}

TEST_F(AutoChange, TheTimeViewPausesAfterEachStepUnlessTheDelayIsSwitchedOff) {
  struct Case {
    int moo, delno, mo;
    bool pause;
  };
  for (const Case k : {Case{0, 0, 1, true}, Case{0, 1, 1, false}, Case{1, 0, 1, false},
                       Case{0, 0, 0, false}, Case{1, 1, 1, false}}) {
    ScriptedHost h;
    Program q(sf, h);
    initialise(q);
    q.st.moo = k.moo;
    q.st.delno = k.delno;
    q.st.mo = k.mo;
    q.st.clse = 1;
    // The pause comes before the pass's DoEvents: the count of pauses at each call.
    std::vector<long> pausesAtCall;
    h.stopWhen([&](const ScriptedHost& s) {
      pausesAtCall.push_back(static_cast<long>(s.counts().delays));
      return false;
    });
    for (int i = 0; i < 40; ++i)
      graphPass(q);
    SCOPED_TRACE(::testing::Message() << k.moo << k.delno << k.mo);
    ASSERT_EQ(pausesAtCall.size(), 40u) << "one DoEvents a pass";
    for (int i = 0; i < 40; ++i)
      EXPECT_EQ(pausesAtCall[i], k.pause ? i + 1 : 0);
  }
}

TEST_F(AutoChange, AStepTakenBackLeavesTheNextPassUnchanged) {
  // Low speed heading down: the walk soon tries a step below 600 R.P.M.
  RecordingSurface rec(1920, 1080);
  ScriptedHost h;
  Program q(rec, h);
  initialise(q);
  q.st.moo = 1;
  q.st.clse = 1;
  q.st.rpm = 1.3;
  q.st.endin = 0.2;
  q.st.drpm = -1;
  graphPass(q);  // enter the view, walk off
  q.st.mo = 1;
  int takeBacks = 0;
  for (int i = 0; i < 200 && takeBacks < 5; ++i) {
    const double rpm = q.st.rpm, endin = q.st.endin;
    rec.clear();
    graphPass(q);
    if (q.st.rpm == rpm && q.st.endin == endin) {
      ++takeBacks;
      // The next pass finds nothing changed and draws nothing; the walk goes on from the
      // old point at its end.
      rec.clear();
      graphPass(q);
      EXPECT_EQ(rec.drawing().size(), 0u);
    }
  }
  EXPECT_GE(takeBacks, 1);
}

}  // namespace
}  // namespace corvane
