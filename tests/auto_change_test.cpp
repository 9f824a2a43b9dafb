// The random change of speed and load in the graph views: its range, its turns, the steps it
// takes back, and the pause it makes in the time view.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "graphs/auto_change.h"
#include "graphs/graph_view.h"
#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

TEST(AutoChange, AHundredThousandStepsStayInRangeAndTurnAtTheLimits) {
  test::Recorded h;
  State& st = h.p.st;
  initialise(h.p);
  st.mo = 1;
  st.moo = 1;
  long takenBack = 0, limitTurns = 0;
  for (int pass = 0; pass < 100000; ++pass) {
    const double rpm = st.rpm, endin = st.endin;
    const int drpm = st.drpm, dendin = st.dendin;
    autoChange(h.p);
    // The load and the R.P.M. shown, as the readouts define them.
    const double load = std::floor(
        0.965 * (62 + std::floor(27 * (st.endin - 0.045 * st.rpm * (100 - 55 * st.endin) / 100))));
    const double shownRpm = std::floor(std::pow(3.9 * st.rpm, 1.18)) * 100;
    ASSERT_TRUE(st.rpm >= 1.17 && st.rpm < 12 && st.endin >= -2.5 && st.endin < 2.1 &&
                shownRpm >= 600 && load >= -18 && load <= 99)
        << "pass " << pass << ": rpm " << st.rpm << " endin " << st.endin << " load " << load;
    // A step is taken back whole or kept whole.
    ASSERT_EQ(st.rpm == rpm, st.endin == endin) << pass;
    takenBack += st.rpm == rpm;
    if (st.rpm == rpm) continue;
    // Past a limit the walk heads back; outside the random band it keeps on (0: either way).
    const int wantDrpm = st.rpm > 9 ? -1 : st.rpm < 2 ? 1 : st.rpm >= 8 ? drpm : 0;
    const int wantDendin = st.endin > 1.6            ? -1
                           : st.endin < -2           ? 1
                           : std::abs(st.endin) >= 1 ? dendin
                                                     : 0;
    ASSERT_TRUE(wantDrpm == 0 || st.drpm == wantDrpm) << pass << " at rpm " << st.rpm;
    ASSERT_TRUE(wantDendin == 0 || st.dendin == wantDendin) << pass << " at endin " << st.endin;
    limitTurns += (st.drpm != drpm && (st.rpm > 9 || st.rpm < 2)) +
                  (st.dendin != dendin && (st.endin > 1.6 || st.endin < -2));
  }
  // The limits and the take-back were met (the walk is the same in every run).
  EXPECT_GT(takenBack, 1000);
  EXPECT_GT(limitTurns, 1000);
}

TEST(AutoChange, AStepOutOfRangeIsTakenBackButItsTurnStands) {
  struct Case {
    const char* name;
    double rpm, endin;
    int drpm, dendin, mo, wantDrpm, wantDendin;
  };
  // From each start every possible step leaves the range.
  const Case cases[] = {
      {"below 600 R.P.M.", 1.0, -1.5, -1, 1, 1, 1, 1},
      {"below 0, clamped first", 0.5, -1.5, -1, 1, 1, 1, 1},
      {"load 100 and over, both past the upper limits", 9.5, 2.0, 1, 1, 1, -1, -1},
      {"load below -18, both past the limits", 11, -2.4, 1, -1, 1, -1, 1},
      {"off", 1.0, 2.0, -1, 1, 0, -1, 1},
  };
  for (const Case& k : cases) {
    test::Recorded h;
    State& st = h.p.st;
    initialise(h.p);
    st.moo = 1;
    std::tie(st.rpm, st.endin, st.drpm, st.dendin, st.mo) =
        std::tuple(k.rpm, k.endin, k.drpm, k.dendin, k.mo);
    autoChange(h.p);
    EXPECT_TRUE(st.rpm == k.rpm && st.endin == k.endin && st.rpm2 == k.rpm && st.endin2 == k.endin)
        << k.name;
    EXPECT_EQ(st.drpm, k.wantDrpm) << k.name;
    EXPECT_EQ(st.dendin, k.wantDendin) << k.name;
    if (k.mo == 0) {
      EXPECT_EQ(h.p.Rnd(), RandomSequence()()) << "no number drawn while off";
    }
  }
}

TEST(AutoChange, TheTimeViewPausesAfterEachStepBeforeThePassYields) {
  struct Case {
    int moo, delno, mo;
    bool pause;
  };
  for (const Case k :
       {Case{0, 0, 1, true}, Case{0, 1, 1, false}, Case{1, 0, 1, false}, Case{0, 0, 0, false}}) {
    test::Recorded h;
    h.startEngineView();
    Form_KeyPress(h.p, ' ');
    if (k.moo == 0) Form_KeyPress(h.p, ' ');
    h.p.st.delno = k.delno;
    h.p.st.mo = k.mo;
    // At each yield of a pass the pause of its step is made already.
    h.host.stopWhen([&](const ScriptedHost& s) {
      EXPECT_EQ(s.counts().delays, k.pause ? s.counts().calls : 0)
          << "moo " << k.moo << " delno " << k.delno << " mo " << k.mo;
      return false;
    });
    for (int i = 0; i < 5; ++i)
      graphPass(h.p);
    EXPECT_EQ(h.host.counts().calls, 5);
  }
}

}  // namespace
}  // namespace corvane
