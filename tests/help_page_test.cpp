// The help page: what the pages put back when left (also after colour reversals on them, up to
// 100 000 of them). Its lines and colours the call-log hashes pin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

// The nested procedure itself: each page keeps the ForeColor, BackColor and font size it
// finds and puts them back, innermost first; a change of BackColor clears the window.
struct Nested {
  Colour F, B;
  float Z;
  Colour fco, bco, bco1 = 0;
  std::vector<std::tuple<Colour, Colour, float>> kept{};
  bool cleared = false;  // since the last page was drawn

  void back(Colour c) { cleared = cleared || c != B, B = c; }
  void page() {
    kept.emplace_back(F, B, Z);
    std::tie(F, B, Z, cleared) = std::tuple(fco, bco, 12.0f, false);
  }
  void reverse() {
    bco1 = bco;
    back(fco);
    std::tie(F, fco, bco) = std::tuple(bco, bco, B);
    page();
  }
  void leave() {
    for (; !kept.empty(); kept.pop_back()) {
      std::tie(F, std::ignore, Z) = kept.back();
      back(std::get<1>(kept.back()));
    }
  }
};

// Paints nothing; keeps the texts, the colour of the last one and the clears after it.
struct Tally : Surface {
  using Surface::Surface;
  long texts = 0, clearsSinceText = 0;
  Colour lastClear = 0, lastText = 0;

 protected:
  void paintClear(Colour c) override { ++clearsSinceText, lastClear = c; }
  void paintText(double, double, std::string_view, Colour c) override {
    ++texts, clearsSinceText = 0, lastText = c;
  }
};

// n colour keys on the page (key repeat: up to 100 000), then the space bar. Leaving puts back
// what the first page found, bco and fco stay exchanged, and the window ends cleared to the
// old BackColor unless every restore finds its colour: all as the nested procedure gives,
// without a waiting loop nested in another (key repeat would overflow the stack).
TEST(HelpPage, LeavingEndsAsTheNestedPagesDoInnermostFirst) {
  // ForeColor, BackColor and font size before the page (fco black, bco white), colour keys.
  const std::tuple<Colour, Colour, float, long> cases[] = {
      {kBlack, kWhite, 14.25f, 0},     {kBlack, kWhite, 14.25f, 1},
      {kBlack, kWhite, 14.25f, 2},     {kBlack, kWhite, 14.25f, 3},
      {kRed, kBlue, 10.0f, 2},         {kWhite, kBlack, 14.25f, 1},
      {kRed, kBlue, 10.0f, 0},         {kBlack, kWhite, 14.25f, 100000},
      {kBlack, kWhite, 14.25f, 100001}};
  for (const auto& [fore, back, size, n] : cases) {
    SCOPED_TRACE(std::to_string(fore) + " on " + std::to_string(back) + ", " + std::to_string(n));
    test::Harness<Tally> h;
    h.sf.ForeColor(fore);
    h.sf.BackColor(back);
    h.sf.FontSize(size);
    initialise(h.p);
    h.p.st.moo = 0;  // the time view, about to show the page
    long posted = 0;
    h.host.stopWhen([&](const ScriptedHost& host) {
      if (!host.pending()) h.host.post(Event::key(posted++ < n ? 'c' : ' '));
      return false;
    });
    Form_KeyPress(h.p, ' ');
    Nested m{fore, back, size, kBlack, kWhite};
    m.page();
    for (long i = 0; i < n; ++i)
      m.reverse();
    m.leave();
    const State& st = h.p.st;
    EXPECT_EQ(std::tuple(h.sf.FontSize(), h.sf.ForeColor(), h.sf.BackColor(), st.fco, st.bco,
                         st.bco1, st.moo, st.cylcyl, h.sf.texts, h.sf.lastText),
              std::tuple(m.Z, m.F, m.B, m.fco, m.bco, m.bco1, 2, 1, 38 * (n + 1), m.fco));
    EXPECT_EQ(std::tuple(h.sf.clearsSinceText > 0, h.sf.lastClear),
              std::tuple(m.cleared, m.cleared ? m.B : h.sf.lastClear));
  }
}

}  // namespace
}  // namespace corvane
