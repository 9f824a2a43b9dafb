// The keyboard: every key in every view, the drawing keys, the view cycle with its redraw
// requests, step mode across a view change, and the two ways to quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Initialised, paused in step mode and with every request down, so that setting and clearing
// both show; bco1 holds a value no key but the colour key writes.
State startState(int moo) {
  State s;
  s.moo = moo;
  s.pi = kPi;
  s.rpm = 8;
  s.bco = kWhite;
  s.fco = kBlack;
  s.bco1 = 0x123456;
  s.stall = s.stall9 = 1;
  s.plot = 1;
  s.ingoing = kPi / 2;
  s.outgoing = 3 * kPi / 2;
  return s;
}

void expectState(const State& got, const State& want) {
  const std::pair<const char*, std::function<double(const State&)>> fields[] = {
      {"moo", [](const State& s) { return s.moo; }},
      {"bco", [](const State& s) { return s.bco; }},
      {"fco", [](const State& s) { return s.fco; }},
      {"bco1", [](const State& s) { return s.bco1; }},
      {"stall", [](const State& s) { return s.stall; }},
      {"stall9", [](const State& s) { return s.stall9; }},
      {"clse", [](const State& s) { return s.clse; }},
      {"redraw", [](const State& s) { return s.redraw; }},
      {"cylcyl", [](const State& s) { return s.cylcyl; }},
      {"delno", [](const State& s) { return s.delno; }},
      {"plot", [](const State& s) { return s.plot; }},
      {"plott", [](const State& s) { return s.plott; }},
      {"devva", [](const State& s) { return s.devva; }},
      {"ingoing", [](const State& s) { return s.ingoing; }},
      {"outgoing", [](const State& s) { return s.outgoing; }},
      {"mo", [](const State& s) { return s.mo + 2 * s.mom; }},
  };
  for (const auto& [name, read] : fields)
    EXPECT_NEAR(read(got), read(want), 1e-12) << name;
}

// A key that shows the help page is followed by a space bar on the page, whose leaving of the
// page belongs to the expected state too.
void leavePage(State& s) {
  s.moo = 2;
  s.cylcyl = s.clse = 1;
  s.stall = s.stall9 = 0;
}

TEST(KeyPress, EveryKeyInEveryView) {
  struct Row {
    std::vector<int> keys;
    std::function<void(State&, int view)> effect;
  };
  const int next[] = {3, 0, 1, 2};  // the space bar: 2 -> 1 -> 0 -> 3 -> 2
  const Row rows[] = {
      {{'c', 'C'},
       [](State& s, int view) {
         s.bco1 = kWhite;
         s.bco = kBlack;
         s.fco = kWhite;
         s.stall = s.stall9 = 0;
         s.clse = 1;
         s.redraw = view < 2;
         s.cylcyl = view == 2;
         if (view == 3) leavePage(s);
       }},
      {{' '},
       [&](State& s, int view) {
         s.moo = next[view];
         s.stall = s.stall9 = 0;
         s.clse = 1;
         s.cylcyl = s.moo == 2;
         if (s.moo == 3) leavePage(s);
       }},
      {{'/'}, [](State& s, int) { s.delno = 1; }},
      {{'.'}, [](State& s, int) { s.stall = 0; }},  // toggled from 1; step mode stays on
      {{','}, [](State& s, int) { s.stall = s.stall9 = 0; }},
      {{'a', 'A'}, [](State& s, int) { s.ingoing = kPi / 2 - 0.05; }},
      {{'s', 'S'}, [](State& s, int) { s.ingoing = kPi / 2 + 0.05; }},
      {{'l', 'L'}, [](State& s, int) { s.outgoing = 3 * kPi / 2 - 0.05; }},
      {{'k', 'K'}, [](State& s, int) { s.outgoing = 3 * kPi / 2 + 0.05; }},
      {{'p', 'P'}, [](State& s, int) { s.plot = 2, s.plott = 1; }},  // the next of 1 -> 2 -> 0
      {{'t', 'T'}, [](State& s, int) { s.devva = 1; }},
      // Digits, other letters, control characters and codes no key gives do nothing.
      {{'0', '9', 'b', 'x', 'Q', 13, 8, 0, 127, 233, 8364, -1, 70000}, [](State&, int) {}},
  };
  for (const Row& row : rows) {
    for (const int key : row.keys) {
      for (const int view : {2, 1, 0, 3}) {
        SCOPED_TRACE("key " + std::to_string(key) + " in view " + std::to_string(view));
        test::Recorded h;
        h.p.st = startState(view);
        const bool showsPage =
            (view == 3 && (key == 'c' || key == 'C')) || (view == 0 && key == ' ');
        if (showsPage) h.host.post(Event::key(' '));
        Form_KeyPress(h.p, key);
        State want = startState(view);
        row.effect(want, view);
        expectState(h.p.st, want);
        EXPECT_FALSE(h.host.pending()) << "the page did not wait for its space bar";
      }
    }
  }
}

// Each timing key tests the value before its step, so a value exactly at a limit stays and
// one just inside ends just past it.
TEST(KeyPress, TimingKeysStopAtTheirLimits) {
  struct Case {
    int key;
    double before, after;
  };
  const Case cases[] = {
      {'a', 0.1, 0.1},   {'a', 0.12, 0.07}, {'a', 0.07, 0.07},   {'s', 1.3 * kPi, 1.3 * kPi},
      {'s', 4.08, 4.13}, {'l', 0.1, 0.1},   {'l', 0.101, 0.051}, {'k', 2 * kPi, 2 * kPi},
      {'K', 6.28, 6.33}};
  for (const Case& c : cases) {
    test::Recorded h;
    h.p.st = startState(2);
    double& timing = (c.key == 'a' || c.key == 's') ? h.p.st.ingoing : h.p.st.outgoing;
    timing = c.before;
    Form_KeyPress(h.p, c.key);
    EXPECT_NEAR(timing, c.after, 1e-12) << static_cast<char>(c.key) << " from " << c.before;
  }
}

// The reversal first clears the window to the old foreground (a BackColor change) and draws
// nothing else but the engine figure; twice it gives the first colours back.
TEST(KeyPress, ColourReversalClearsOnceToTheOldForeground) {
  for (const int view : {2, 1, 0}) {
    SCOPED_TRACE(view);
    test::Recorded h;
    h.p.st = startState(view);
    Form_KeyPress(h.p, 'c');
    const auto drawn = h.sf.drawing();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().op, Call::Op::Cls);
    EXPECT_EQ(drawn.front().colour, kBlack);
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(),
                            [](const Call& c) { return c.op == Call::Op::Cls; }),
              1);
    Form_KeyPress(h.p, 'C');
    EXPECT_EQ(h.p.st.bco, kWhite);
    EXPECT_EQ(h.p.st.fco, kBlack);
    EXPECT_EQ(h.p.st.bco1, kBlack);
    EXPECT_EQ(h.sf.BackColor(), kWhite);
    EXPECT_EQ(h.sf.ForeColor(), kBlack);
  }
}

// "t" wipes the old label with a 25-pixel background stroke (-35, 135)-(0, 135), writes the new
// one in fco at (-37, 145), and leaves pen and ForeColor as it found them.
TEST(KeyPress, LabelKeyWipesAndWritesTheLabel) {
  for (const bool reversed : {false, true}) {
    test::Recorded h;
    h.p.st = startState(2);
    if (reversed) std::swap(h.p.st.bco, h.p.st.fco);
    h.sf.DrawWidth(3);
    h.sf.ForeColor(kRed);
    for (const std::string label : {"Corvane", "Normal"}) {
      h.sf.clear();
      Form_KeyPress(h.p, 'T');
      const auto d = h.sf.drawing();
      ASSERT_GE(d.size(), 3u);
      EXPECT_EQ(d[0].op, Call::Op::Line);
      EXPECT_EQ(std::vector({d[0].x1, d[0].y1, d[0].x2, d[0].y2}),
                std::vector<double>({-35, 135, 0, 135}));
      EXPECT_EQ(d[0].drawWidth, 25);
      EXPECT_EQ(d[0].colour, h.p.st.bco);
      EXPECT_EQ(d[1].op, Call::Op::PSet);
      EXPECT_EQ(std::vector({d[1].x1, d[1].y1}), std::vector<double>({-37, 145}));
      EXPECT_EQ(d[1].colour, h.p.st.bco);
      EXPECT_EQ(d[2].text, label);
      EXPECT_EQ(d[2].colour, h.p.st.fco);
      EXPECT_EQ(h.sf.DrawWidth(), 3);
      EXPECT_EQ(h.sf.ForeColor(), kRed);
    }
  }
}

// Between the host and the handlers: the state before and after every delivery, and how many
// calls the surface had recorded before it, in the order of arrival.
struct Tap : EventSink {
  explicit Tap(test::Recorded& h) : h(h) { h.host.setSink(this); }
  void deliver(const Event& e) override {
    const std::size_t seq = before.size();
    before.push_back(h.p.st);
    callsBefore.push_back(h.sf.calls().size());
    after.emplace_back();
    h.dispatcher.deliver(e);
    after[seq] = h.p.st;  // the space bar into the page returns when the page is left
  }
  test::Recorded& h;
  std::vector<State> before, after;
  std::vector<std::size_t> callsBefore;
};

// From the engine view, paused in step mode, four space bars pass both graph views and the
// help page and come back; each change asks its view to clear and ends step mode, and no
// engine step runs on the way.
TEST(ViewCycle, FourSpacesReturnToTheEngineViewWithItsRedrawRequests) {
  test::Recorded h;
  Tap tap(h);
  std::int64_t stepsOnPage = -1;
  h.host.stopWhen([&](const ScriptedHost& host) {
    if (h.p.st.moo == 3) stepsOnPage = host.counts().steps;
    return host.counts().steps > 20 || host.Now() > 10;
  });
  h.host.postAtStep(3, Event::key('.'));
  for (const double t : {0.5, 1.0, 1.5, 2.0})
    h.host.postAtTime(t, Event::key(' '));
  h.run();
  ASSERT_EQ(tap.after.size(), 5u);
  EXPECT_EQ(tap.after[0].stall9, 1);
  struct Want {
    const State& seen;
    int moo, cylcyl;
  };
  const Want wants[] = {{tap.after[1], 1, 0},
                        {tap.after[2], 0, 0},
                        {tap.before[4], 3, 0},  // on the page
                        {tap.after[4], 2, 1},
                        {tap.after[3], 2, 1}};  // the page's space bar, once the page is left
  for (const Want& w : wants) {
    SCOPED_TRACE(&w - wants);
    EXPECT_EQ(w.seen.moo, w.moo);
    EXPECT_EQ(w.seen.cylcyl, w.cylcyl);
    EXPECT_EQ(w.seen.clse, 1);
    EXPECT_EQ(w.seen.stall + w.seen.stall9, 0);
  }
  EXPECT_EQ(stepsOnPage, 3);
  // The request is taken: a clear in the engine view's scale and font, then free running.
  EXPECT_EQ(h.p.st.cylcyl, 0);
  EXPECT_GT(h.host.counts().steps, 20);
  const auto drawn = h.sf.drawing();
  const auto clear = std::find_if(drawn.rbegin(), drawn.rend(),
                                  [](const Call& c) { return c.op == Call::Op::Cls; });
  ASSERT_NE(clear, drawn.rend());
  EXPECT_EQ(clear->scaleTop, 150);
  EXPECT_EQ(clear->scaleLeft, -110);
  EXPECT_EQ(clear->fontSize, 14.25f);
}

// Step mode belongs to the engine view: "." pressed there or in any other view does not
// outlive a view change. Steps are counted at virtual times; 120 run per second.
TEST(ViewCycle, StepModeEndsAtEveryViewChange) {
  struct Case {
    const char* name;
    int atStepTen;
    std::vector<std::pair<double, int>> keys;  // virtual time, key
    std::int64_t stepsBeforeReturn;
  };
  const Case cases[] = {
      {"paused at step 10, two single steps, the round of views",
       '.',
       {{1.0, '.'}, {1.5, '.'}, {2.5, ' '}, {3.0, ' '}, {3.5, ' '}, {4.0, ' '}},
       12},
      {"dots in both graph views and on the page",
       ' ',
       {{1.0, '.'}, {2.5, ' '}, {3.0, '.'}, {3.5, ' '}, {3.8, '.'}, {4.0, ' '}},
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::Recorded h;
    std::int64_t atTwo = -1, atFour = -1;
    h.host.stopWhen([&](const ScriptedHost& host) {
      if (atTwo < 0 && host.Now() >= 2.0) atTwo = host.counts().steps;
      if (atFour < 0 && host.Now() >= 3.9) atFour = host.counts().steps;
      return host.Now() > 5.0;
    });
    h.host.postAtStep(10, Event::key(c.atStepTen));
    for (const auto& [t, key] : c.keys)
      h.host.postAtTime(t, Event::key(key));
    h.run();
    EXPECT_EQ(atTwo, c.stepsBeforeReturn);
    EXPECT_EQ(atFour, c.stepsBeforeReturn);
    EXPECT_EQ(h.p.st.stall + h.p.st.stall9, 0);
    EXPECT_GT(h.host.counts().steps, c.stepsBeforeReturn + 100);  // a second of free running
  }
}

// ESC clears the window and ends the program, a double click ends it at once: from every
// view, from the help page and from a page shown again inside it.
TEST(Quit, EscAndDoubleClickEndTheProgramFromEveryView) {
  struct Route {
    std::vector<int> keys;  // half a second apart
    int view;
  };
  const Route routes[] = {
      {{}, 2}, {{' '}, 1}, {{' ', ' '}, 0}, {{' ', ' ', ' '}, 3}, {{' ', ' ', ' ', 'c', 'c'}, 3}};
  for (const Route& r : routes) {
    for (const bool esc : {true, false}) {
      SCOPED_TRACE("view " + std::to_string(r.view) + ", keys " + std::to_string(r.keys.size()) +
                   (esc ? ", ESC" : ", double click"));
      test::Recorded h;
      Tap tap(h);
      h.host.stopWhen([](const ScriptedHost& host) { return host.Now() > 30; });
      double t = 0.5;
      for (const int key : r.keys)
        h.host.postAtTime(t += 0.5, Event::key(key));
      h.host.postAtTime(t += 0.5, esc ? Event::key(27) : Event::dblClick());
      ASSERT_TRUE(h.run()) << "the program did not end";
      EXPECT_LT(h.host.Now(), t + 0.1) << "it ended at once";
      EXPECT_EQ(h.p.st.moo, r.view);
      // Drawn from the ending event on: one clear in bco for ESC, nothing for a double click.
      std::vector<Call> atEnd;
      for (std::size_t i = tap.callsBefore.back(); i < h.sf.calls().size(); ++i)
        if (h.sf.calls()[i].op != Call::Op::Set) atEnd.push_back(h.sf.calls()[i]);
      ASSERT_EQ(atEnd.size(), esc ? 1u : 0u);
      if (esc) {
        EXPECT_EQ(atEnd[0].op, Call::Op::Cls);
        EXPECT_EQ(atEnd[0].colour, h.p.st.bco);
      }
    }
  }
}

}  // namespace
}  // namespace corvane
