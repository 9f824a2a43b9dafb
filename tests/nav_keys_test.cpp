// The keys without a character: the arrows keep speed and load within what the pointer
// reaches in each view, and Page Down / Page Up enter every view as the space bar does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

// Down from 8 reaches 1.2 in 28 presses and stays; Up climbs 0.25 a press to what the pointer
// gives on the window's top row; Left and Right
// move the load 0.125 a press to what it gives in the first and last column. stee follows
// rpm at every press. A setting already beyond a limit is not pulled back.
TEST(ArrowKeys, SpeedAndLoadStayWithinWhatThePointerReachesInEachView) {
  for (const auto& [w, h] : {std::pair{1016, 704}, std::pair{3840, 2160}, std::pair{300, 90}}) {
    for (int view = 0; view < 4; ++view) {
      SCOPED_TRACE("view " + std::to_string(view) + " in " + std::to_string(w) + "x" +
                   std::to_string(h));
      test::Recorded r(w, h);
      test::enterView(r, view);
      State& st = r.p.st;
      const State corner = test::pointedAt(view, w, h, 0, 0);
      const double top = corner.rpm, left = corner.endin;
      const double right = test::pointedAt(view, w, h, w - 1, 0).endin;
      const auto press = [&](NavKey key, int n, auto want) {
        for (int i = 1; i <= n; ++i) {
          const double before = st.endin;
          r.dispatcher.deliver(Event::nav(key));
          EXPECT_NEAR(key == NavKey::Left || key == NavKey::Right ? st.endin : st.rpm,
                      want(i, before), 1e-6)
              << "press " << i;
          EXPECT_DOUBLE_EQ(st.stee, -st.rpm * st.rpm / 700) << "press " << i;
        }
      };
      press(NavKey::Down, 60, [](int i, double) { return std::max(8 - 0.25 * i, 1.2); });
      EXPECT_EQ(st.rpm, 1.2f);
      press(NavKey::Up, 60, [&](int i, double) { return std::min(1.2 + 0.25 * i, top); });
      EXPECT_EQ(st.rpm, top);
      st.endin = 0;  // the initial 1 - pi lies beyond the graph views' left edge
      press(NavKey::Left, 120, [&](int, double e) { return std::max(e - 0.125, left); });
      EXPECT_EQ(st.endin, left);
      press(NavKey::Right, 120, [&](int, double e) { return std::min(e + 0.125, right); });
      EXPECT_EQ(st.endin, right);
      // Beyond the limits, put there by the random change or another view's pointer.
      std::tie(st.rpm, st.endin) = std::tuple(top + 1, right + 1);
      r.dispatcher.deliver(Event::nav(NavKey::Up));
      r.dispatcher.deliver(Event::nav(NavKey::Right));
      EXPECT_EQ(std::tuple(st.rpm, st.endin), std::tuple(top + 1, right + 1));
      std::tie(st.rpm, st.endin) = std::tuple(1.17, left - 1);
      r.dispatcher.deliver(Event::nav(NavKey::Down));
      r.dispatcher.deliver(Event::nav(NavKey::Left));
      EXPECT_EQ(std::tuple(st.rpm, st.endin), std::tuple(1.17, left - 1));
    }
  }
}

// A window resized between a view change and the new view's first pass: the graph view takes
// its scale again with s1 to match, so the pointer at the right edge and the Right key keep
// the load where that view's right edge puts it, not where the time axis with the s1 of the
// view before would (beyond 20).
TEST(ArrowKeys, ALoadWithinTheViewAfterAResizeBeforeItsFirstPass) {
  // The time view entered from the crank-angle view and from the help page.
  for (const auto& [view, key] : {std::pair{1, Event::key(' ')}, {3, Event::nav(NavKey::PageUp)}}) {
    test::Recorded r;
    test::enterView(r, view);
    r.dispatcher.deliver(key);
    r.dispatcher.deliver(Event::resize(kDesignWidth, kDesignHeight));
    for (int i = 0; i < 60; ++i)
      r.dispatcher.deliver(Event::nav(NavKey::Right));
    const double byKeys = r.p.st.endin;
    r.dispatcher.deliver(Event::move(kDesignWidth - 1, 0));
    EXPECT_EQ(std::tuple(r.p.st.moo, r.p.st.endin), std::tuple(0, byKeys));
    EXPECT_NEAR(byKeys, 1.9 + (-220 - 103 + 300.0 * (kDesignWidth - 1) / kDesignWidth) / 80, 1e-4)
        << "from view " << view;
  }
}

// The picture once the view that the last key entered has drawn: a graph view or the help
// page at its first wait, the engine view 30 steps into its new crank cycle. The first key
// comes at engine-view step 10, the others every half second.
std::vector<std::uint32_t> pictureAfter(const std::vector<Event>& keys) {
  test::Rastered r(kDesignWidth, kDesignHeight);
  r.host.postAtStep(10, keys[0]);
  for (std::size_t i = 1; i < keys.size(); ++i)
    r.host.postAtTime(0.5 * static_cast<double>(i), keys[i]);
  std::int64_t steps = -1, waits = -1;
  r.host.stopWhen([&](const ScriptedHost& h) {
    const auto& c = h.counts();
    if (h.Now() > 30) return true;  // a view that never draws: the pictures differ
    if (c.delivered < static_cast<std::int64_t>(keys.size())) return false;
    if (steps < 0) std::tie(steps, waits) = std::tuple(c.steps, c.waits);
    return r.p.st.moo == 2 ? c.steps > steps + 30 : c.waits > waits;
  });
  r.run();
  return r.sf.snapshot();
}

// Each view looks the same, pixel for pixel, however it was reached: by space bars from the
// engine view, by Page Down instead, by Page Up from the view after it, or by Page Up all the
// way round backwards. First the space bar goes round once, so that every way starts from
// views that have all been shown (the crank-angle view's load gauge shows the load of the
// pass before, at the first visit the starting 45 %); then "." halts the engines after a
// step, so that every way leaves the engine view with the same step drawn (a key that shows
// the help page at the start of a step cuts that step short, and the next visit's erase of
// the old positions then wipes other pixels of the figure).
TEST(PageKeys, EveryViewLooksAsTheSpaceBarShowsIt) {
  const Event sp = Event::key(' '), dn = Event::nav(NavKey::PageDown),
              up = Event::nav(NavKey::PageUp);
  const std::vector<std::vector<Event>> ways[] = {
      {{sp}, {dn}, {sp, sp, up}, {up, up, up}},                          // crank-angle view
      {{sp, sp}, {dn, dn}, {sp, sp, sp, up}, {up, up}},                  // time view
      {{sp, sp, sp}, {dn, dn, dn}, {up}},                                // help page
      {{sp, sp, sp, sp}, {dn, dn, dn, dn}, {sp, up}, {up, up, up, up}},  // engine view
  };
  const auto round = [&](std::vector<Event> way) {
    way.insert(way.begin(), {sp, sp, sp, sp, Event::key('.')});
    return pictureAfter(way);
  };
  for (int view = 0; view < 4; ++view) {
    const std::vector<std::uint32_t> bySpaces = round(ways[view][0]);
    for (std::size_t way = 1; way < ways[view].size(); ++way)
      EXPECT_TRUE(round(ways[view][way]) == bySpaces) << "view " << view << ", way " << way;
  }
}

}  // namespace
}  // namespace corvane
