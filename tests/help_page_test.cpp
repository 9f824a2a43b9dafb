// The help page: what the pages put back when left (also after colour reversals on them, up to
// 100 000 of them). Its lines and colours the call-log hashes pin.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

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

// n colour keys on the page (key repeat: up to 100 000), then the space bar. Each page keeps
// the ForeColor, BackColor and font size it finds and puts them back, innermost first, so
// leaving ends with what the first page found; bco and fco stay exchanged after an odd number
// of keys; and the window ends cleared to the old BackColor unless no page put back another
// BackColor. No waiting loop nests in another (key repeat would overflow the stack).
TEST(HelpPage, LeavingEndsAsTheNestedPagesDoInnermostFirst) {
  // ForeColor, BackColor and font size before the page (fco black, bco white), colour keys,
  // whether the window ends cleared.
  const std::tuple<Colour, Colour, float, long, bool> cases[] = {
      {kBlack, kWhite, 14.25f, 0, false},    {kBlack, kWhite, 14.25f, 1, true},
      {kBlack, kWhite, 14.25f, 2, true},     {kBlack, kWhite, 14.25f, 3, true},
      {kRed, kBlue, 10.0f, 2, true},         {kWhite, kBlack, 14.25f, 1, false},
      {kRed, kBlue, 10.0f, 0, true},         {kBlack, kWhite, 14.25f, 100000, true},
      {kBlack, kWhite, 14.25f, 100001, true}};
  for (const auto& [fore, back, size, n, cleared] : cases) {
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
    const State& st = h.p.st;
    const Colour ink = n % 2 ? kWhite : kBlack, paper = n % 2 ? kBlack : kWhite;
    EXPECT_EQ(std::tuple(h.sf.FontSize(), h.sf.ForeColor(), h.sf.BackColor(), st.fco, st.bco,
                         st.bco1, st.moo, st.cylcyl, h.sf.texts, h.sf.lastText),
              std::tuple(size, fore, back, ink, paper, ink, 2, 1, 38 * (n + 1), ink));
    EXPECT_EQ(std::tuple(h.sf.clearsSinceText > 0, h.sf.lastClear),
              std::tuple(cleared, cleared ? back : h.sf.lastClear));
  }
}

}  // namespace
}  // namespace corvane
