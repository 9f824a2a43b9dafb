// Bad input: 100 000 random keys (every code but ESC), pointer positions in and around windows
// of any size and single presses, in every view. Nothing faults, no variable leaves its range,
// and the window is never left blank or half-drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "harness.h"

namespace corvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Paints nothing; counts what was painted since the last clear and notes any coordinate that
// is not a finite number.
struct Checked : Surface {
  using Surface::Surface;
  long sinceClear = 0;
  long pageLinesSinceClear = 0;  // texts at the help page's line corner
  long badCoordinates = 0;

 protected:
  void paintClear(Colour) override { sinceClear = pageLinesSinceClear = 0; }
  void paintDot(double x, double y, Colour) override { painted({x, y}); }
  void paintSegment(double x1, double y1, double x2, double y2, Colour) override {
    painted({x1, y1, x2, y2});
  }
  void paintBox(double x1, double y1, double x2, double y2, Colour) override {
    painted({x1, y1, x2, y2});
  }
  void paintCircle(double x, double y, double r, Colour) override { painted({x, y, r}); }
  void paintText(double x, double y, std::string_view, Colour) override {
    painted({x, y});
    if (x == -102 && FontSize() == 12 && ScaleTop() == 165) ++pageLinesSinceClear;
  }

 private:
  void painted(std::initializer_list<double> values) {
    ++sinceClear;
    for (const double v : values)
      badCoordinates += !std::isfinite(v);
  }
};

using Fuzzed = test::Harness<Checked>;

// How much a view draws right after it clears, so that "not blank" can be told apart from
// a view whose drawing is not there at all.
long engineStaticsPaints() {
  Fuzzed h;
  h.host.stopAfterStep(0);  // at the first step's pacing call: the figure before any step
  h.run();
  return h.sf.sinceClear;
}

// Every variable the input reaches, within what the pointer, the keys and the walks give.
std::string outOfRange(const Program& p) {
  const State& s = p.st;
  auto flag = [](int v) { return v == 0 || v == 1; };
  if (s.moo < 0 || s.moo > 3) return "moo";
  if (!flag(s.stall) || !flag(s.stall9) || !flag(s.delno) || !flag(s.devva)) return "a flag";
  if (!flag(s.mo) || !flag(s.mom) || !flag(s.clse) || !flag(s.redraw) || !flag(s.cylcyl))
    return "a switch or request";
  if (s.plot < 0 || s.plot > 2) return "plot";
  if (!((s.bco == kWhite && s.fco == kBlack) || (s.bco == kBlack && s.fco == kWhite)))
    return "colours";
  if (!(s.rpm >= 1.17 && s.rpm <= 15)) return "rpm " + std::to_string(s.rpm);
  if (!(std::abs(s.stee) < 15 * 15 / 700.0)) return "stee";
  // The pointer gives -2.49 at the least (the page's left edge, read with the smallest s1 the
  // walk leaves, 0.878) and 1.86 at the most; the walk adds less than 0.5 before it turns.
  if (!(s.endin > -3 && s.endin < 2.4)) return "endin " + std::to_string(s.endin);
  // The pointer sets a timing anywhere inside its zone's range, the keys step it a little
  // past their limits, and the drift takes it less than 0.005 further before it turns.
  if (!(s.ingoing > -0.005 && s.ingoing < 1.35 * kPi + 0.005)) return "ingoing";
  if (!(s.outgoing > -0.005 && s.outgoing < 2 * kPi + 0.055)) return "outgoing";
  if (!(s.outgoingd > 1.1 * kPi - 0.005 && s.outgoingd < 2.05 * kPi + 0.005)) return "outgoingd";
  if (!(s.outgoingde > -0.25 * kPi - 0.005 && s.outgoingde < 1.6 * kPi + 0.005))
    return "outgoingde";
  const float font = p.help.open > 0 ? 12.0f : 14.25f;
  if (p.sf.FontSize() != font) return "FontSize";
  return "";
}

class Feeder {
 public:
  Feeder(Fuzzed& h, long total) : h_(h), total_(total) {}

  // Called at every DoEvents of any kind: checks, then gives the next few events.
  bool atDoEvents() {
    const std::string bad = outOfRange(h_.p);
    if (!bad.empty() && firstBad.empty()) firstBad = bad + " after event " + std::to_string(sent);
    if (h_.host.pending()) return false;
    if (sent >= total_) return true;
    for (int n = batch_(rng_); n > 0 && sent < total_; --n, ++sent)
      h_.host.post(next());
    return false;
  }

  long sent = 0;
  std::string firstBad;

 private:
  Event next() {
    const int kind = percent_(rng_);
    if (kind < 45) return key();
    if (kind < 91) {
      const int w = h_.sf.clientWidth(), hgt = h_.sf.clientHeight();
      return Event::move(std::uniform_int_distribution(-20, w + 20)(rng_),
                         std::uniform_int_distribution(-20, hgt + 20)(rng_));
    }
    if (kind < 99) return Event::down(std::uniform_int_distribution(1, 3)(rng_));
    return Event::resize(std::uniform_int_distribution(1, 4000)(rng_),
                         std::uniform_int_distribution(1, 2200)(rng_));
  }
  Event key() {
    static const std::string commands = " cC/.,aAsSlLkKpPtT";
    if (percent_(rng_) < 50)
      return Event::key(
          commands[std::uniform_int_distribution<std::size_t>(0, commands.size() - 1)(rng_)]);
    int code = 27;
    while (code == 27)
      code = std::uniform_int_distribution(0, 65535)(rng_);
    return Event::key(code);
  }

  Fuzzed& h_;
  long total_;
  std::mt19937 rng_{20240611};
  std::uniform_int_distribution<int> percent_{0, 99};
  std::uniform_int_distribution<int> batch_{1, 6};
};

TEST(RandomInput, AHundredThousandEventsInEveryView) {
  const long statics = engineStaticsPaints();
  Fuzzed h(1016, 704);
  Feeder feeder(h, 100000);
  long presents = 0, blank = 0, halfPages = 0, pagesSeen = 0;
  int viewsSeen = 0;
  h.host.onPresent([&] {
    ++presents;
    const int moo = h.p.st.moo;
    viewsSeen |= 1 << moo;
    if (moo == 3) {
      ++pagesSeen;
      halfPages += h.sf.pageLinesSinceClear < 37;
    } else if (moo == 2 && h.p.st.cylcyl == 0 && h.sf.sinceClear < statics) {
      // With cylcyl = 1 the figure is due at the next crank cycle: a page shown and left
      // inside one engine step leaves the rest of that cycle on the cleared window.
      ++blank;
    }
  });
  h.host.stopWhen([&](const ScriptedHost&) { return feeder.atDoEvents(); });
  EXPECT_FALSE(h.run()) << "the program ended";
  EXPECT_EQ(feeder.sent, 100000);
  EXPECT_EQ(feeder.firstBad, "");
  EXPECT_EQ(h.sf.badCoordinates, 0);
  EXPECT_EQ(viewsSeen, 0b1111) << "every view was visited";
  EXPECT_GT(pagesSeen, 100);
  EXPECT_EQ(halfPages, 0);
  EXPECT_EQ(blank, 0) << "engine view presented without its static figure";
  EXPECT_GT(presents, 1000);
}

}  // namespace
}  // namespace corvane
