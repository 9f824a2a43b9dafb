// The random change of speed and load in the graph views: its range, its turns, the steps it
// takes back, and the pause it makes in the time view.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "graphs/auto_change.h"
#include "graphs/graph_view.h"
#include "graphs/lift_heights.h"
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
    const auto [rpm, endin, drpm, dendin] = std::tuple(st.rpm, st.endin, st.drpm, st.dendin);
    autoChange(h.p);
    // The load and the R.P.M. shown, as the readouts' own test has them.
    const double load = loadPercent(st.endin, st.rpm);
    ASSERT_TRUE(st.rpm >= 1.17 && st.rpm < 12 && st.endin >= -2.5 && st.endin < 2.1 &&
                rpmReadout(st.rpm) >= 600 && load >= -18 && load <= 99)
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

// Only in the time view, with the change on and its pause not switched off by "/".
TEST(AutoChange, TheTimeViewPausesAfterEachStepBeforeThePassYields) {
  for (const auto& [moo, delno, mo] : {std::array{0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {0, 0, 0}}) {
    test::Recorded h;
    h.startEngineView();
    Form_KeyPress(h.p, ' ');
    if (moo == 0) Form_KeyPress(h.p, ' ');
    std::tie(h.p.st.delno, h.p.st.mo) = std::tuple(delno, mo);
    // At each yield of a pass the pause of its step is made already.
    h.host.stopWhen([&](const ScriptedHost& s) {
      EXPECT_EQ(s.counts().delays, moo + delno == 0 && mo == 1 ? s.counts().calls : 0)
          << "moo " << moo << " delno " << delno << " mo " << mo;
      return false;
    });
    // Each pass's picture is shown before its pause, not 50 ms later.
    std::vector<std::int64_t> pausesAtPresents;
    h.host.onPresent([&] { pausesAtPresents.push_back(h.host.counts().delays); });
    for (int i = 0; i < 5; ++i)
      graphPass(h.p);
    EXPECT_EQ(h.host.counts().calls, 5);
    for (std::int64_t pause = 0; pause < h.host.counts().delays; ++pause)
      EXPECT_NE(std::count(pausesAtPresents.begin(), pausesAtPresents.end(), pause), 0)
          << "no picture shown before pause " << pause + 1;
  }
}

}  // namespace
}  // namespace corvane
