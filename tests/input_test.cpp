// The keyboard and the mouse: every key in every view, the keys that draw, step mode and the
// round of the views through the main loop, quitting, the pointer in each view's scale, the
// speed floor of a tall window, the spot zones' strict edges, the press, and a stream of
// random events (20 000, or 100 000 in the soak).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Paused in step mode with every request down, so that setting and clearing both show; each
// timing at the limit of one of its keys; bco1 a value that only the colour key overwrites;
// the time view's pauses off, so that "/" turning them on again shows.
State startState(int moo) {
  State s;
  std::tie(s.moo, s.s1, s.pi, s.ra, s.rpm, s.bco, s.bco1) =
      std::tuple(moo, 1, kPi, 50, 8, kWhite, 0x123456);
  std::tie(s.stall, s.stall9, s.plot, s.delno) = std::tuple(1, 1, 2, 1);
  std::tie(s.ingoing, s.outgoing, s.outgoingd, s.outgoingde) =
      std::tuple(0.1, 2 * kPi, 3 * kPi / 2, 0.14);
  return s;
}

// Everything a key or a press may write.
auto keyed(const State& s) {
  return std::tuple(s.moo, s.bco, s.fco, s.bco1, s.stall, s.stall9, s.clse, s.redraw, s.cylcyl,
                    s.delno, s.plot, s.plott, s.devva, std::round(s.ingoing * 1e9),
                    std::round(s.outgoing * 1e9), s.mo, s.mom);
}

// A key that shows the page is followed by the space bar that leaves it. "\1" stands for a
// mouse press, which switches the spots' drift in the engine view, the random change elsewhere.
TEST(KeyPress, EveryKeyInEveryView) {
  const int next[] = {3, 0, 1, 2};  // the space bar: 2 -> 1 -> 0 -> 3 -> 2
  const auto leavePage = [](State& s) {
    std::tie(s.moo, s.cylcyl, s.clse, s.stall, s.stall9) = std::tuple(2, 1, 1, 0, 0);
  };
  const std::pair<std::string, std::function<void(State&, int)>> rows[] = {
      {"cC",
       [&](State& s, int view) {
         std::tie(s.bco1, s.bco, s.fco, s.stall, s.stall9, s.clse, s.redraw, s.cylcyl) =
             std::tuple(kWhite, kBlack, kWhite, 0, 0, 1, view < 2, view == 2);
         if (view == 3) leavePage(s);
       }},
      {" ",
       [&](State& s, int view) {
         std::tie(s.moo, s.stall, s.stall9, s.clse, s.cylcyl) =
             std::tuple(next[view], 0, 0, 1, view == 3);
         if (view == 0) leavePage(s);
       }},
      {"/", [](State& s, int) { s.delno = 0; }},
      {".", [](State& s, int) { s.stall = 0; }},  // paused: one step; step mode stays
      {",", [](State& s, int) { s.stall = s.stall9 = 0; }},
      {"aAkK", [](State&, int) {}},  // 0.1 and 2 pi: tested before the step, they stay
      {"sS", [](State& s, int) { s.ingoing = 0.15; }},
      {"lL", [](State& s, int) { s.outgoing = 2 * kPi - 0.05; }},
      {"pP", [](State& s, int) { s.plot = 0, s.plott = 1; }},  // 1 -> 2 -> 0
      {"tT", [](State& s, int) { s.devva = 1; }},
      {"09bxQ\r\b\x7f", [](State&, int) {}},
      {"\1", [](State& s, int view) { (view == 2 ? s.mom : s.mo) = 1; }},
  };
  for (const auto& [keys, effect] : rows) {
    for (const int key : keys) {
      for (const int view : {2, 1, 0, 3}) {
        SCOPED_TRACE("key " + std::to_string(key) + " in view " + std::to_string(view));
        test::Recorded h;
        h.p.st = startState(view);
        h.host.post(Event::key(' '));  // taken only by a page the key shows
        h.dispatcher.deliver(key == 1 ? Event::down() : Event::key(key));
        State want = startState(view);
        effect(want, view);
        EXPECT_EQ(keyed(h.p.st), keyed(want));
        EXPECT_NE(h.host.pending(),
                  (view == 3 && std::tolower(key) == 'c') || (view == 0 && key == ' '));
      }
    }
  }
}

// Through the main loop: "." and "," in and out of the engine view, then the round of the
// views. No step is taken away from the engine view, and step mode does not outlive the return.
TEST(ViewCycle, StepModeAndTheRoundOfTheViews) {
  const std::pair<int, std::vector<std::pair<double, int>>> cases[] = {
      {'.', {{1.0, '.'}, {1.5, '.'}, {2.5, ' '}, {3.0, ' '}, {3.5, ' '}, {4.0, ' '}}},
      {' ', {{1.0, '.'}, {2.5, ' '}, {3.0, ','}, {3.2, '.'}, {3.5, ' '}, {3.8, '.'}, {4.0, ' '}}},
  };
  for (const auto& [atStepTen, keys] : cases) {
    test::Recorded h;
    std::vector<int> views;
    std::int64_t atTwo = -1, atFour = -1;
    h.host.stopWhen([&](const ScriptedHost& host) {
      if (views.empty() || views.back() != h.p.st.moo) views.push_back(h.p.st.moo);
      if (atTwo < 0 && host.Now() >= 2.0) atTwo = host.counts().steps;
      if (atFour < 0 && host.Now() >= 3.9) atFour = host.counts().steps;
      return host.Now() > 5.0;
    });
    h.host.postAtStep(10, Event::key(atStepTen));
    for (const auto& [t, key] : keys)
      h.host.postAtTime(t, Event::key(key));
    h.run();
    EXPECT_EQ(views, std::vector<int>({2, 1, 0, 3, 2}));
    EXPECT_EQ(std::tuple(atTwo, atFour), std::tuple(atStepTen == '.' ? 12 : 10, atTwo));
    EXPECT_GT(h.host.counts().steps, atFour + 100);  // a second of free running
  }
}

// ESC clears to bco and ends the program, a double click ends it: at once, from every view,
// from the help page and from a page shown again inside it.
TEST(Quit, EscAndDoubleClickEndTheProgramFromEveryView) {
  for (const std::string keys : {"", " ", "  ", "   ", "   c"}) {
    for (const bool esc : {true, false}) {
      SCOPED_TRACE("'" + keys + (esc ? "' then ESC" : "' then a double click"));
      test::Recorded h;
      h.host.stopWhen([](const ScriptedHost& host) { return host.Now() > 30; });
      double t = 0.5;
      for (const char key : keys)
        h.host.postAtTime(t += 0.5, Event::key(key));
      h.host.postAtTime(t += 0.5, esc ? Event::key(27) : Event::dblClick());
      ASSERT_TRUE(h.run()) << "the program did not end";
      EXPECT_LT(h.host.Now(), t + 0.1);
      EXPECT_EQ(h.p.st.moo, "2103"[std::min<std::size_t>(keys.size(), 3)] - '0');
      const Call last = h.sf.drawing().back();
      EXPECT_EQ(last.op == Call::Op::Cls && last.colour == h.p.st.bco, esc);
    }
  }
}

// Only positions inside the client area reach the handler: a pointer at x = width or
// y = height, or left of or above the window, changes nothing; the last column and row do.
TEST(MouseMove, PositionsOutsideTheClientAreaChangeNothing) {
  const State start = test::pointedAt(kCrankView, 640, 480, -1, -1);
  for (const auto& [px, py] :
       {std::pair{640, 100}, {100, 480}, {-1, 100}, {100, -1}, {639, 100}, {100, 479}}) {
    const State s = test::pointedAt(kCrankView, 640, 480, px, py);
    EXPECT_EQ(s.rpm != start.rpm || s.endin != start.endin,
              std::min(px, py) >= 0 && px < 640 && py < 480)
        << px << "," << py;
  }
}

// The speed only left of x = -50 in the engine view and on the page, anywhere in the graph
// views (12.159, 10.682 and 12.5 at the top edge); the load from X / s1 everywhere. At
// 1920 x 1080 the canvas is zoomed by 1080 / 830 and stands 299 pixels from the left edge, so
// pixel 0 lies in the margin, left of the view's span. The canvas is 491.4 units high: its
// bottom row lies below Y = -385 in the engine and graph views, where the speed would turn
// negative: it stays at 1.2 (R.P.M. readout 600); the page's bottom row gives 1.338.
TEST(MouseMove, TheSameScreenPointGivesEachViewItsOwnSpeedAndLoad) {
  // By moo: rpm and endin at pixel (0, 0), then at (640, 500); rpm at the bottom row.
  const double want[][5] = {{10.6818, -2.9856, 5.5117, -1.1702, 1.2},
                            {10.6818, -2.9856, 5.5117, -1.1702, 1.2},
                            {12.1591, -3.0731, 8, -1.2577, 1.2},
                            {12.5, -3.1356, 8, -1.3202, 1.3377}};
  for (int v = 0; v < 4; ++v) {
    for (int right = 0; right < 2; ++right) {
      const State s = test::pointedAt(v, 1920, 1080, 640 * right, 500 * right);
      const double rpm = want[v][2 * right];
      EXPECT_NEAR(s.rpm, rpm, 5e-4) << "view " << v << (right ? " right" : " left");
      EXPECT_NEAR(s.stee, -rpm * rpm / 700, 1e-5) << "view " << v;
      EXPECT_NEAR(s.endin, want[v][2 * right + 1], 1e-4) << "view " << v;
    }
    EXPECT_NEAR(test::pointedAt(v, 3840, 2160, 3, 2159).rpm, want[v][4], 5e-4) << "view " << v;
  }
  EXPECT_NEAR(test::pointedAt(kEngineView, 1016, 830, 3, 703).rpm, 2.70, 0.005);
}

// Each zone is 10 units wide about its spot and open at both ends of its Y range; the angle
// from Y is taken only strictly inside its accepted range: 0 to 1.35 pi (Y -13 to -182.65),
// below 2 pi (Y -13), 1.1 pi to 2.05 pi (Y -126.10 to -6.72), -0.2 pi to 1.6 pi (12.13 to
// -214.06).
TEST(MouseMove, SpotZonesHaveStrictEdges) {
  const double centre[] = {-31.25, 43.75, 118.75, 181.25};
  // zone, X from its centre, Y, whether the angle is taken
  const std::tuple<int, double, float, bool> cases[] = {
      {0, 4.99, -60, true}, {0, -5, -60, false},   {0, 5, -60, false},     {0, 0, -13, false},
      {0, 0, -13.1f, true}, {0, 0, -182.6f, true}, {0, 0, -182.7f, false}, {1, -4.99, -100, true},
      {1, 5, -100, false},  {1, 0, -13, false},    {1, 0, -13.1f, true},   {1, 0, -259.9f, true},
      {1, 0, -260, false},  {2, -5, -60, false},   {2, 0, -126.0f, true},  {2, 0, -126.2f, false},
      {2, 0, -6.8f, true},  {2, 0, -6.6f, false},  {3, 5, -60, false},     {3, 0, 12.0f, true},
      {3, 0, 12.2f, false}, {3, 0, -214.0f, true}, {3, 0, -214.1f, false}};
  for (const auto& [zone, dx, Y, taken] : cases) {
    test::Recorded h;
    h.p.st = startState(2);
    h.p.st.outgoing = 3 * kPi / 2;
    const State& s = h.p.st;
    const auto timings = [&] {
      return std::array{s.ingoing, s.outgoing, s.outgoingd, s.outgoingde};
    };
    auto want = timings();
    if (taken) want[zone] = zone == 0 || zone == 3 ? (-Y - 13) / 40.0 : 2 * kPi + (Y + 13) / 40.0;
    Form_MouseMove(h.p, 0, 0, static_cast<float>(centre[zone] + dx), Y);
    for (int z = 0; z < 4; ++z)
      EXPECT_NEAR(timings()[z], want[z], 1e-5) << "zone " << zone << " dx " << dx << " Y " << Y;
  }
}

// Paints nothing; counts what was painted since the last clear, the help page's lines among
// it, and the shapes at a coordinate that is not a number.
struct Checked : Surface {
  using Surface::Surface;
  long sinceClear = 0, pageLines = 0, notFinite = 0;

 protected:
  void paintClear(Colour) override { sinceClear = pageLines = 0; }
  void paintDot(double x, double y, Colour) override { paintBox(x, y, x, y, 0); }
  void paintSegment(double x1, double y1, double x2, double y2, Colour) override {
    paintBox(x1, y1, x2, y2, 0);
  }
  void paintBox(double x1, double y1, double x2, double y2, Colour) override {
    ++sinceClear;
    notFinite += !std::isfinite(x1 + y1 + x2 + y2);
  }
  void paintText(double x, double, std::string_view, Colour) override {
    ++sinceClear;
    pageLines += x == -102 && FontSize() == 12 && ScaleTop() == 165;
  }
};

// The first variable outside what the pointer, the keys and the walks can give, or "". The
// pointer sets a timing anywhere inside its zone's range, the keys step it a little past
// their limits and the drift less than 0.005; the load reaches -2.49 at the page's left edge
// with the smallest s1 the walk leaves, 1.86 at the most, and the walk adds less than 0.5.
std::string outOfRange(const Program& p) {
  const State& s = p.st;
  const auto in = [](double v, double low, double high) { return v > low && v < high; };
  for (const int flag :
       {s.stall, s.stall9, s.delno, s.devva, s.mo, s.mom, s.clse, s.redraw, s.cylcyl})
    if (flag != 0 && flag != 1) return "a flag";
  if (!in(s.moo, -1, 4) || !in(s.plot, -1, 3)) return "moo or plot";
  if (s.bco + s.fco != kWhite || (s.bco != kWhite && s.bco != kBlack)) return "colours";
  if (!in(s.rpm, 1.17, 15) || !in(s.stee, -15 * 15 / 700.0, 0)) return "rpm or stee";
  // A pointer in a side margin lies outside the view's span: a wide window lets the load go
  // far beyond what the canvas gives, but never to a value that is not a number.
  if (!in(s.endin, -1e6, 1e6)) return "endin " + std::to_string(s.endin);
  if (!in(s.ingoing, -0.005, 1.35 * kPi + 0.005) || !in(s.outgoing, -0.005, 2 * kPi + 0.055) ||
      !in(s.outgoingd, 1.1 * kPi - 0.005, 2.05 * kPi + 0.005) ||
      !in(s.outgoingde, -0.25 * kPi - 0.005, 1.6 * kPi + 0.005))
    return "a timing";
  if (p.sf.FontSize() != (s.moo == 3 ? 12.0f : 14.25f)) return "FontSize";
  return "";
}

// Keys (every code but ESC; a tenth of them arrow and page keys), pointer positions in and
// around windows of any size, single presses and resizes, a few at each DoEvents, in every
// view: nothing faults, no variable leaves its range (NaN included), nothing is drawn at a
// coordinate that is not a number, and no picture is presented blank or half-drawn.
TEST(RandomInput, ManyEventsInEveryView) {
  // 20 000 events in every test run, more when the soak asks for them (100 000 in `make soak`).
  const char* n = std::getenv("CORVANE_RANDOM_EVENTS");
  const long total = n != nullptr && std::atol(n) > 0 ? std::atol(n) : 20000;
  test::Harness<Checked> first;  // what the engine view paints after its clear, before a step
  first.runSteps(0);
  test::Harness<Checked> h(kDesignWidth, kDesignHeight);
  std::mt19937 rng(20240611);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution(low, high)(rng);
  };
  long sent = 0, blank = 0, halfPages = 0, pages = 0;
  const auto next = [&] {
    const int kind = pick(0, 99), code = pick(0, 65534);
    // Every tenth event an arrow or page key; now and then a key code no window sends.
    if (sent % 10 == 9) return Event::nav(static_cast<NavKey>(pick(0, 5)));
    if (sent % 100 == 4) return Event{Event::Kind::Nav, code - 32767};
    if (kind < 22) return Event::key(" cC/.,aAsSlLkKpPtT"[pick(0, 17)]);
    if (kind < 45) return Event::key(code < 27 ? code : code + 1);
    if (kind < 91)
      return Event::move(pick(-20, h.sf.clientWidth() + 20), pick(-20, h.sf.clientHeight() + 20));
    return kind < 99 ? Event::down(pick(1, 3)) : Event::resize(pick(1, 4000), pick(1, 2200));
  };
  int views = 0;
  std::string bad;
  h.host.onPresent([&] {
    views |= 1 << h.p.st.moo;
    pages += h.p.st.moo == 3;
    halfPages += h.p.st.moo == 3 && h.sf.pageLines < 38;
    // With cylcyl = 1 the engine figure is due at the next crank cycle.
    blank += h.p.st.moo == 2 && h.p.st.cylcyl == 0 && h.sf.sinceClear < first.sf.sinceClear;
  });
  h.host.stopWhen([&](const ScriptedHost& host) {
    if (bad.empty() && !(bad = outOfRange(h.p)).empty()) bad += " after " + std::to_string(sent);
    for (int n = host.pending() ? 0 : pick(1, 6); n > 0 && sent < total; --n, ++sent)
      h.host.post(next());
    return !h.host.pending();
  });
  EXPECT_FALSE(h.run()) << "the program ended";
  EXPECT_EQ(std::tuple(sent, bad, views, halfPages, blank, h.sf.notFinite),
            std::tuple(total, "", 0b1111, 0, 0, 0));
  EXPECT_GT(pages, total / 1000);
}

}  // namespace
}  // namespace corvane
