// The help page: its lines and their places, what it puts back when left, pages shown again
// by the colour key, its own waiting loop, and 100 000 reversals on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"
#include "input/handlers.h"

namespace corvane {
namespace {

// The y of every line from the top: the first line, paragraphs of 8, 7 and 11 lines each
// followed by a blank line but the last, then eight lines on the controls below a gap.
std::vector<double> pageRows() {
  std::vector<double> ys{150};
  for (int y = 130; y >= -230; y -= 10)
    if (y != -150) ys.push_back(y);
  return ys;
}

// The fixed lines as the page must show them, double spaces included.
const std::map<double, std::string> kFixed = {
    {150,
     " Left: a typical / conventional engine wherein the load is controlled by a throttle valve "
     "(not shown)."},
    {50, " "},
    {-30, " "},
    {-160,
     " The higher the mouse pointer position at window's left side, the higher the r.p.m. and the "
     "bigger the step.  By clicking once the"},
    {-170,
     " mouse, the animation proceeds automatically: the r.p.m. and the load change randomly.  By "
     "the dot  (.)  key the animation enters"},
    {-180,
     " into the step-mode.  Any further pressing of the dot key proceeds the animation by one "
     "step.  By the comma (,) key the normal"},
    {-190,
     " mode is re-activated.  By the P key  the valve lift profiles of the various modes "
     "hide/unhide.  By the C key  the colors reverse."},
    {-200,
     " Pressing once the SpaceBar key, the valve-lift-versus-crank-angle mode is activated. By "
     "moving the mousepointer up-down and"},
    {-210, " left-right the r.p.m and the load are selected."},
    {-220,
     " Pressing once more the SpaceBar key, the valve-lift-versus-time mode is selected. The "
     "colored area is the valve-time-area."},
    {-230,
     " Finally, by pressing the ESC key, or by double-clicking the mouse, the animation ends."},
};

// A text with the dot placed just before it.
struct Text {
  Call corner, print;
};

std::vector<Text> textsOf(const RecordingSurface& sf) {
  std::vector<Text> out;
  const auto& calls = sf.calls();
  for (std::size_t i = 1; i < calls.size(); ++i)
    if (calls[i].op == Call::Op::Print) out.push_back({calls[i - 1], calls[i]});
  return out;
}

// The time view's program, as before the space bar that shows the page, with the events the
// page will receive posted.
void showPage(test::Recorded& h, const std::vector<int>& keysOnPage) {
  initialise(h.p);
  h.p.st.moo = 0;
  for (const int key : keysOnPage)
    h.host.post(Event::key(key));
  h.host.post(Event::key(' '));
  Form_KeyPress(h.p, ' ');
}

TEST(HelpPage, LinesStandAtTheirPlacesAndTheFixedOnesReadExactly) {
  test::Recorded h;
  showPage(h, {});
  const auto texts = textsOf(h.sf);
  const auto rows = pageRows();
  ASSERT_EQ(texts.size(), 37u);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto& [corner, print] = texts[i];
    SCOPED_TRACE("'" + print.text + "'");
    EXPECT_EQ(corner.op, Call::Op::PSet);
    EXPECT_EQ(corner.x1, -102);
    EXPECT_EQ(corner.y1, rows[i]);
    EXPECT_EQ(corner.colour, kWhite);
    EXPECT_EQ(print.colour, kBlack);
    EXPECT_EQ(print.fontSize, 12.0f);
    EXPECT_EQ(std::tuple(print.scaleLeft, print.scaleTop, print.scaleWidth),
              std::tuple(-115.0f, 165.0f, 300.0f));
    ASSERT_FALSE(print.text.empty());
    EXPECT_TRUE(print.text[0] == ' ' && (print.text.size() == 1 || print.text[1] != ' '))
        << "one space begins every line";
    EXPECT_LE(print.text.size(), 132u);
    if (kFixed.count(rows[i])) {
      EXPECT_EQ(print.text, kFixed.at(rows[i]));
    }
  }
  // Each paragraph opens on the engine it describes.
  EXPECT_NE(texts[1].print.text.find("Tessimo"), std::string::npos);
  EXPECT_NE(texts[10].print.text.find("Lumivent"), std::string::npos);
  EXPECT_NE(texts[18].print.text.find("Corvane"), std::string::npos);
  // Written on the window cleared in bco.
  const auto& calls = h.sf.calls();
  const auto first = std::find_if(calls.begin(), calls.end(),
                                  [](const Call& c) { return c.op == Call::Op::Print; });
  const auto clear = std::find_if(std::make_reverse_iterator(first), calls.rend(),
                                  [](const Call& c) { return c.op == Call::Op::Cls; });
  ASSERT_NE(clear, calls.rend());
  EXPECT_EQ(clear->colour, kWhite);
}

// The nested procedure, literally, with an explicit stack: each page keeps the ForeColor,
// BackColor and font size it finds, and all put them back innermost first on the way out.
struct Nested {
  Nested(Colour fore, Colour back, float size, Colour fco, Colour bco)
      : F(fore), B(back), Z(size), fco(fco), bco(bco) {}
  Colour F, B;
  float Z;
  Colour fco, bco, bco1 = 0;
  std::vector<std::tuple<Colour, Colour, float>> kept;
  std::vector<std::pair<Colour, Colour>> pages;  // colours of every page drawn
  bool clearedSincePage = false;

  void back(Colour c) {
    clearedSincePage = clearedSincePage || c != B;
    B = c;
  }
  void page() {
    kept.emplace_back(F, B, Z);
    F = fco;
    B = bco;
    clearedSincePage = false;  // the page is written after its Cls
    Z = 12;
    pages.emplace_back(F, B);
  }
  void reverse() {
    bco1 = bco;
    back(fco);
    F = bco;
    bco = B;
    fco = F;
    page();
  }
  void leave() {
    for (; !kept.empty(); kept.pop_back()) {
      std::tie(F, std::ignore, Z) = kept.back();
      back(std::get<1>(kept.back()));
    }
  }
};

// Leaving puts back what each page found, the first page last; after reversals bco and fco
// stay exchanged, and the window is cleared to the old BackColor unless every restore finds
// the colour it puts back.
TEST(HelpPage, PagesLeftTogetherPutBackWhatTheyFoundInnermostFirst) {
  struct Case {
    Colour fore, back;
    float size;
    Colour fco, bco;
    int reversals;
  };
  const Case cases[] = {
      {kBlack, kWhite, 14.25f, kBlack, kWhite, 0}, {kBlack, kWhite, 14.25f, kBlack, kWhite, 1},
      {kBlack, kWhite, 14.25f, kBlack, kWhite, 2}, {kBlack, kWhite, 14.25f, kBlack, kWhite, 3},
      {kRed, kBlue, 10.0f, kBlack, kWhite, 2},     {kWhite, kBlack, 14.25f, kBlack, kWhite, 1},
      {kWhite, kBlack, 14.25f, kWhite, kBlack, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    test::Recorded h;
    h.sf.ForeColor(c.fore);
    h.sf.BackColor(c.back);
    h.sf.FontSize(c.size);
    initialise(h.p);
    h.p.st.fco = c.fco;
    h.p.st.bco = c.bco;
    h.p.st.moo = 0;
    h.sf.clear();
    for (int i = 0; i < c.reversals; ++i)
      h.host.post(Event::key('c'));
    h.host.post(Event::key(' '));
    Form_KeyPress(h.p, ' ');

    Nested model(c.fore, c.back, c.size, c.fco, c.bco);
    model.page();
    for (int i = 0; i < c.reversals; ++i)
      model.reverse();
    model.leave();
    EXPECT_EQ(h.sf.FontSize(), model.Z);
    EXPECT_EQ(h.sf.ForeColor(), model.F);
    EXPECT_EQ(h.sf.BackColor(), model.B);
    EXPECT_EQ(std::tuple(h.p.st.fco, h.p.st.bco, h.p.st.bco1),
              std::tuple(model.fco, model.bco, model.bco1));
    EXPECT_EQ(std::tuple(h.p.st.moo, h.p.st.cylcyl), std::tuple(2, 1));
    // The picture: every page in its colours, then either nothing or clears that end in the
    // BackColor left in force.
    const auto texts = textsOf(h.sf);
    ASSERT_EQ(texts.size(), 37 * model.pages.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].print.colour, model.pages[i / 37].first) << "page " << i / 37;
      EXPECT_EQ(texts[i].corner.colour, model.pages[i / 37].second) << "page " << i / 37;
    }
    const auto& calls = h.sf.calls();
    const auto lastText = std::find_if(calls.rbegin(), calls.rend(),
                                       [](const Call& c) { return c.op == Call::Op::Print; });
    std::vector<Call> after;
    std::copy_if(calls.rbegin(), lastText, std::back_inserter(after),
                 [](const Call& c) { return c.op != Call::Op::Set; });
    EXPECT_EQ(!after.empty(), model.clearedSincePage);
    for (const Call& a : after)
      EXPECT_EQ(a.op, Call::Op::Cls);
    if (!after.empty()) {
      EXPECT_EQ(after.front().colour, model.B);  // the last of the clears
    }
  }
}

// While the page is shown, pointer moves, presses and keys work, in the page's scale, inside
// the space bar's delivery: the main loop takes no step until a space bar leaves the page.
TEST(HelpPage, InputWorksOnThePageWhileTheMainLoopWaits) {
  struct Depth : EventSink {
    Dispatcher& d;
    std::vector<int> depths;
    int depth = 0;
    explicit Depth(Dispatcher& d) : d(d) {}
    void deliver(const Event& e) override {
      depths.push_back(++depth);
      d.deliver(e);
      --depth;
    }
  };
  test::Recorded h;
  Depth tap(h.dispatcher);
  h.host.setSink(&tap);
  std::int64_t firstOnPage = -1, lastOnPage = -1;
  State onPage;
  std::size_t drawnBeforePress = 0, drawnAfterPress = 0;
  h.host.stopWhen([&](const ScriptedHost& host) {
    if (h.p.st.moo == 3) {
      if (firstOnPage < 0) firstOnPage = host.counts().steps;
      lastOnPage = host.counts().steps;
      onPage = h.p.st;
      (host.Now() < 1.85 ? drawnBeforePress : drawnAfterPress) = h.sf.drawing().size();
    }
    return host.Now() > 4;
  });
  h.host.postAtStep(5, Event::key(' '));
  const std::pair<double, Event> script[] = {{0.5, Event::key(' ')},      {1.0, Event::key(' ')},
                                             {1.5, Event::move(10, 300)}, {1.6, Event::key('a')},
                                             {1.7, Event::key('/')},      {1.8, Event::key('p')},
                                             {1.9, Event::down(1)},       {2.5, Event::key(' ')}};
  for (const auto& [t, e] : script)
    h.host.postAtTime(t, e);
  h.run();
  const std::vector<int> depths{1, 1, 1, 2, 2, 2, 2, 2, 2};
  EXPECT_EQ(tap.depths, depths) << "the events on the page arrive inside its space bar";
  EXPECT_EQ(std::tuple(firstOnPage, lastOnPage), std::tuple(5, 5));
  const double X = -115 + 10 * 300 / 1920.0, Y = 165 - 300 / (25.33735 / 15);
  EXPECT_NEAR(onPage.rpm, (Y + 385) / 44, 1e-5);
  EXPECT_NEAR(onPage.endin, 1.9 + (-220 + X / onPage.s1) / 80, 1e-5);
  EXPECT_NEAR(onPage.ingoing, 3.14159265358979 / 2 - 0.05, 1e-12);
  EXPECT_EQ(std::tuple(onPage.moo, onPage.delno, onPage.plot, onPage.mo), std::tuple(3, 1, 2, 1));
  EXPECT_EQ(drawnAfterPress, drawnBeforePress) << "a press on the page draws nothing";
  EXPECT_EQ(h.p.st.moo, 2);
  EXPECT_GT(h.host.counts().steps, 100);
}

// On the raster: the first page black on white, after a reversal white on black; only the two
// colours, the background most, and text on every written line.
TEST(HelpPage, AReversalOnThePageDrawsItWhiteOnBlack) {
  test::Rastered r(1024, 768);
  initialise(r.p);
  r.p.st.moo = 0;
  std::vector<std::vector<std::uint32_t>> shots;
  r.host.onPresent([&] { shots.push_back(r.sf.snapshot()); });
  r.host.postAtCall(1, Event::key('c'));
  r.host.postAtCall(2, Event::key(' '));
  Form_KeyPress(r.p, ' ');
  ASSERT_EQ(shots.size(), 2u);
  const auto rows = pageRows();
  for (std::size_t s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    const std::uint32_t back = s == 0 ? 0xFFFFFF : 0, fore = 0xFFFFFF - back;
    const auto& px = shots[s];
    const auto backs = std::count(px.begin(), px.end(), back);
    const auto fores = std::count(px.begin(), px.end(), fore);
    EXPECT_EQ(backs + fores, static_cast<long>(px.size())) << "only the two colours";
    EXPECT_GT(backs, fores * 4);
    for (const double y : rows) {
      if (y == 50 || y == -30) continue;  // the blank lines
      const int top = static_cast<int>((165 - y) * 25.33735 / 15);
      const int left = static_cast<int>((-102 + 115) * 1024 / 300.0);
      long ink = 0;
      for (int row = top; row < top + 16; ++row)
        ink +=
            std::count(px.begin() + row * 1024 + left, px.begin() + row * 1024 + left + 300, fore);
      EXPECT_GT(ink, 20) << "line at y " << y;
    }
  }
}

// Paints nothing; keeps what the picture ends as: the last text and the clears after it.
struct Tally : Surface {
  using Surface::Surface;
  long texts = 0, clearsSinceText = 0;
  Colour lastClear = 0, lastTextColour = 0;

 protected:
  void paintClear(Colour c) override {
    ++clearsSinceText;
    lastClear = c;
  }
  void paintText(double, double, std::string_view, Colour c) override {
    ++texts;
    clearsSinceText = 0;
    lastTextColour = c;
  }
};

long residentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Key repeat on the colour key: 100 000 reversals on the page, then the space bar. Deliveries
// nest at most one level inside the page, memory does not grow, and the end is what the
// nested procedure gives.
TEST(HelpPage, AHundredThousandReversalsOnThePageEndAsTheNestedProcedure) {
  for (const long presses : {100000L, 100001L}) {
    SCOPED_TRACE(presses);
    Tally sf(1920, 1080);
    ScriptedHost host;
    Program p(sf, host);
    Dispatcher dispatcher(p);
    struct Deepest : EventSink {
      Dispatcher& d;
      int depth = 0, deepest = 0;
      explicit Deepest(Dispatcher& d) : d(d) {}
      void deliver(const Event& e) override {
        deepest = std::max(deepest, ++depth);
        d.deliver(e);
        --depth;
      }
    } tap(dispatcher);
    host.setSink(&tap);
    initialise(p);
    p.st.moo = 0;
    long posted = 0;
    host.stopWhen([&](const ScriptedHost&) {
      if (!host.pending()) host.post(Event::key(posted++ < presses ? 'c' : ' '));
      return false;
    });
    const long before = residentKiB();
    Form_KeyPress(p, ' ');
    EXPECT_LT(residentKiB() - before, 10 * 1024) << "KiB";
    EXPECT_LE(tap.deepest, 2);
    EXPECT_EQ(sf.texts, 37 * (presses + 1));

    Nested model(kBlack, kWhite, 14.25f, kBlack, kWhite);
    model.page();
    for (long i = 0; i < presses; ++i)
      model.reverse();
    model.leave();
    EXPECT_EQ(std::tuple(sf.FontSize(), sf.ForeColor(), sf.BackColor()),
              std::tuple(model.Z, model.F, model.B));
    EXPECT_EQ(std::tuple(p.st.fco, p.st.bco, p.st.bco1),
              std::tuple(model.fco, model.bco, model.bco1));
    EXPECT_EQ(sf.lastTextColour, model.pages.back().first);
    ASSERT_TRUE(model.clearedSincePage);
    EXPECT_GE(sf.clearsSinceText, 1);
    EXPECT_EQ(sf.lastClear, model.B);
  }
}

}  // namespace
}  // namespace corvane
