// The graph views through the recording surface: readouts, areas, ticks, gauge gaps, drawing
// order, the change test, the time view's scale and the guard against a speed at or below 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/main_loop.h"
#include "core/program.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"
#include "graphs/graph_view.h"

namespace corvane {
namespace {

const double kPi = 4 * std::atan(1.0);
using Calls = std::vector<Call>;

// A program as the engine view leaves it, ready for the space bar into a graph view.
struct GraphViews : ::testing::Test {
  RecordingSurface sf{1920, 1080};
  ScriptedHost host;
  Program p{sf, host};

  void SetUp() override {
    initialise(p);
    sf.ScaleLeft(-110);
    sf.ScaleWidth(300);
    sf.ScaleTop(150);
    sf.DrawWidth(3);
    sf.BackColor(p.st.bco);
    sf.ForeColor(p.st.fco);
  }
  // The space bar: the next view, with its clear request.
  void space() {
    p.st.moo = (4 + p.st.moo - 1) % 4;
    p.st.clse = 1;
  }
  Calls pass() {
    sf.clear();
    graphPass(p);
    return sf.calls();
  }
  // Space bar and one pass at a time until the view is the one asked for: from the engine
  // view into the crank-angle view (moo 1), and on into the time view (moo 0).
  Calls enter(int moo) {
    Calls c;
    do {
      space();
      c = pass();
    } while (p.st.moo != moo);
    return c;
  }
};

bool near(double a, double b, double tol = 1e-3) {
  return std::abs(a - b) <= tol;
}

// The text printed with its cursor at (x, y), or "" if none.
std::string printedAt(const Calls& calls, double x, double y) {
  for (const Call& c : calls)
    if (c.op == Call::Op::Print && near(c.x1, x, 2e-3 * std::max(1.0, std::abs(x))) &&
        near(c.y1, y))
      return c.text;
  return "";
}

std::vector<std::string> allTexts(const Calls& calls) {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (c.op == Call::Op::Print) out.push_back(c.text);
  return out;
}

bool contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

TEST_F(GraphViews, ReadoutsShowTheWorkedSpeedsAndLoadsInBothViews) {
  struct Case {
    double rpm, endin;
    const char* shownRpm;
    const char* shownLoad;
  };
  const Case cases[] = {
      {8, 1 - kPi, " 5700 ", "-17 "},   {3, 1 - kPi, " 1800 ", nullptr},
      {1.2, 1 - kPi, " 600 ", nullptr}, {8, 1.6, " 5700 ", " 100 "},
      {5, 0, nullptr, " 53 "},
  };
  for (int moo : {1, 0}) {
    for (const Case& k : cases) {
      SetUp();
      p.st.moo = 2;
      p.st.rpm = 6;  // a point apart from every case, so that the case's pass is a changed one
      p.st.endin = 0.5;
      enter(moo);
      p.st.rpm = k.rpm;
      p.st.endin = k.endin;
      const Calls calls = pass();
      const double s1 = moo == 1 ? 1 : 225 * k.rpm / 300;
      SCOPED_TRACE("moo " + std::to_string(moo) + " rpm " + std::to_string(k.rpm));
      if (k.shownRpm) {
        EXPECT_EQ(printedAt(calls, 113 * s1, 50), k.shownRpm);
      }
      if (k.shownLoad) {
        EXPECT_EQ(printedAt(calls, 116 * s1, 35), k.shownLoad);
      }
      // Only the numbers: the captions stay from the pass that entered the view.
      EXPECT_FALSE(contains(allTexts(calls), "R.P.M. : "));
      EXPECT_FALSE(contains(allTexts(calls), "% LOAD : "));
    }
  }
  EXPECT_EQ(p.st.load, 53);
}

TEST_F(GraphViews, EnteringAViewPrintsItsCaptionsOnce) {
  Calls calls = enter(1);
  auto texts = allTexts(calls);
  for (const char* t : {"R.P.M. : ", "% LOAD : ", "   Crank Angle", "Tessimo", "TDC", "BDC"})
    EXPECT_TRUE(contains(texts, t)) << t;
  EXPECT_FALSE(contains(texts, "           Time"));
  EXPECT_EQ(printedAt(calls, 90, 50), "R.P.M. : ");
  EXPECT_EQ(printedAt(calls, 86, 35), "% LOAD : ");

  calls = enter(0);  // on from the crank-angle view: s1 = 225·8/300 = 6
  texts = allTexts(calls);
  EXPECT_EQ(printedAt(calls, 90 * 6, 50), "R.P.M. : ");
  EXPECT_EQ(printedAt(calls, 111 * 6, -72), "           Time");
  EXPECT_FALSE(contains(texts, "   Crank Angle"));
  EXPECT_DOUBLE_EQ(p.st.s1, 6);
  EXPECT_FLOAT_EQ(sf.ScaleWidth(), 1800);
  EXPECT_FLOAT_EQ(sf.ScaleLeft(), -618);
  EXPECT_FLOAT_EQ(sf.ScaleTop(), 85);
}

// Area lines of the graph with baseline y0 in the given colour: foot on the baseline, head up
// and to the left (the slant).
Calls areaLines(const Calls& calls, double y0, Colour colour) {
  Calls out;
  for (const Call& c : calls)
    if (c.op == Call::Op::Line && c.y1 == y0 && c.colour == colour && c.x2 <= c.x1 && c.y2 > y0)
      out.push_back(c);
  return out;
}

double lastHead(const Calls& lines) {
  double x = -1e9;
  for (const Call& c : lines)
    x = std::max(x, c.x2);
  return x;
}

TEST_F(GraphViews, AreasEndAtTheClosingAngleAtBothExtremesOfTheLoad) {
  // Closing abscissae X = 30·x: top and middle at endin, bottom at pi/1.1 − endin.
  struct Case {
    double endin, topMiddleX, bottomX;
  };
  for (const Case k : {Case{1 - kPi, -64.2, 149.9}, Case{1.61, 48.3, 37.4}}) {
    SetUp();
    p.st.moo = 2;
    p.st.endin = k.endin;
    const Calls calls = enter(1);
    SCOPED_TRACE(k.endin);
    // The last open line stands within one abscissa step (0.3 units) before the closing;
    // the ends above are rounded to 0.1.
    auto expectEndsAt = [](double head, double end) {
      EXPECT_GT(head, end - 0.35);
      EXPECT_LE(head, end + 0.05);
    };
    expectEndsAt(lastHead(areaLines(calls, -57.5, kBrightGreen)), k.topMiddleX);
    expectEndsAt(lastHead(areaLines(calls, -207.5, kRed)), k.topMiddleX);
    expectEndsAt(lastHead(areaLines(calls, -327.5, kBlue)), k.bottomX);
    // Past the closing the lines go down in the background colour, to the end of each range.
    const Calls topRest = areaLines(calls, -57.5, kWhite);
    ASSERT_FALSE(topRest.empty());
    EXPECT_GT(topRest.front().x2, k.topMiddleX - 0.05);
    EXPECT_NEAR(lastHead(topRest), 30 * kPi, 0.31);
    EXPECT_NEAR(lastHead(areaLines(calls, -207.5, kWhite)), 30 * 1.89 * kPi, 0.31);
    // The foot lies lift·rpm/20 right of the head: at rpm 8 the slant is 0.4·lift.
    for (const Call& c : areaLines(calls, -207.5, kRed))
      EXPECT_NEAR(c.x1 - c.x2, 0.4 * (c.y2 - c.y1), 1e-9);
  }
  // lift keeps the middle graph's last area value: the long lobe near 1.89·pi, about 0.1.
  EXPECT_GT(p.st.lift, 0.11);
  EXPECT_LT(p.st.lift, 0.3);
}

// Which graph a call belongs to, by its lowest point.
int graphOf(const Call& c) {
  const double y = std::min(c.y1, c.y2);
  return y >= -61 ? 0 : y >= -211 ? 1 : 2;  // top, middle, bottom
}

enum class Part { Area, Axis, Tick, Curve, Other };

Part partOf(const Call& c) {
  if (c.op != Call::Op::Line || c.drawWidth != 3) return Part::Other;
  if (c.y1 == c.y2 && near(c.x1, -30 * kPi) && near(c.x2, 60 * kPi)) return Part::Axis;
  if (c.x1 == c.x2) {
    for (double X : {-23 * kPi, 15 * kPi, 53 * kPi})
      if (near(c.x1, X)) return Part::Tick;
  }
  if (near(c.x2 - c.x1, 0.3, 1e-6)) return Part::Curve;
  if (c.x2 <= c.x1 && (c.y1 == -57.5 || c.y1 == -207.5 || c.y1 == -327.5)) return Part::Area;
  return Part::Other;
}

TEST_F(GraphViews, EachGraphDrawsAreaAxisTicksCurveInTurnBottomTopMiddle) {
  for (int moo : {1, 0}) {
    SetUp();
    p.st.moo = 2;
    enter(moo);
    p.st.rpm = 5;  // a new time scale: the erase pass works at the old one
    p.st.endin = 0.3;
    const Calls calls = pass();
    SCOPED_TRACE(moo);
    // First and last index of each part of each graph, among the calls at the new scale.
    const float scale = sf.ScaleWidth();
    int first[3][4], last[3][4], count[3][4] = {};
    for (auto& g : first)
      std::fill(std::begin(g), std::end(g), 1 << 30);
    for (auto& g : last)
      std::fill(std::begin(g), std::end(g), -1);
    int readouts = -1;
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
      const Call& c = calls[i];
      if (c.op == Call::Op::Print && c.scaleWidth == scale) readouts = std::max(readouts, i);
      const Part part = partOf(c);
      if (part == Part::Other || c.scaleWidth != scale) continue;
      const int g = graphOf(c), k = static_cast<int>(part);
      first[g][k] = std::min(first[g][k], i);
      last[g][k] = std::max(last[g][k], i);
      ++count[g][k];
    }
    for (int g = 0; g < 3; ++g) {
      EXPECT_LT(last[g][0], first[g][1]) << "area before axis, graph " << g;
      EXPECT_LT(last[g][1], first[g][2]) << "axis before ticks, graph " << g;
      EXPECT_LT(last[g][2], first[g][3]) << "ticks before curve, graph " << g;
      EXPECT_EQ(count[g][1], 1);
      EXPECT_EQ(count[g][2], 2 + (g == 0 ? 1 : 2) + 1);  // middle part shown at s1 1 and 3.75
    }
    EXPECT_LT(last[2][3], first[0][0]) << "bottom graph before top";
    EXPECT_LT(last[0][3], first[1][0]) << "top graph before middle";
    EXPECT_LT(readouts, first[2][0]) << "the numbers are printed before the graphs";
    // About 630 steps over 2·pi and 910 over 2.89·pi.
    EXPECT_NEAR(count[0][0], 629, 1);
    EXPECT_NEAR(count[1][0], 908, 1);
    EXPECT_NEAR(count[2][3], 908, 1);
  }
}

// The vertical strokes at 53·pi of the graphs in the colour given.
int middleTickParts(const Calls& calls, Colour c, float scaleWidth) {
  int n = 0;
  const double spans[3][2] = {{-46, 50}, {-165, -115}, {-285, -235}};
  for (const Call& k : calls)
    if (k.op == Call::Op::Line && k.colour == c && k.scaleWidth == scaleWidth &&
        near(k.x1, 53 * kPi) && near(k.x2, 53 * kPi))
      for (const auto& s : spans)
        if (k.y1 == s[0] && k.y2 == s[1]) ++n;
  return n;
}

TEST_F(GraphViews, MiddleOfTheLastTickIsLeftOutAtMiddleTimeScales) {
  // s1 = 0.75·rpm: the part is missing while 1.2 <= s1 <= 1.95.
  struct Case {
    double rpm;
    bool shown;
  };
  enter(0);
  double previous = 8, previousRpm = 8;
  for (const Case k : {Case{1.58, true}, Case{1.62, false}, Case{2, false}, Case{2.58, false},
                       Case{2.62, true}, Case{4, true}, Case{8, true}}) {
    const double s1Before = 0.75 * previous;
    const bool shownBefore = s1Before < 1.2 || s1Before > 1.95;
    const float before = sf.ScaleWidth();
    p.st.rpm = previous = k.rpm;
    const Calls calls = pass();
    SCOPED_TRACE(k.rpm);
    EXPECT_FLOAT_EQ(sf.ScaleWidth(), 225 * k.rpm);
    EXPECT_EQ(middleTickParts(calls, kBlack, sf.ScaleWidth()), k.shown ? 3 : 0);
    // The erase pass wipes the parts exactly when the previous pass drew them, and its area
    // lines have that pass's slant: lift·rpm/20 with the previous rpm.
    EXPECT_EQ(middleTickParts(calls, kWhite, before), shownBefore ? 3 : 0);
    int erasedAreaLines = 0;
    for (const Call& c : calls)
      if (c.op == Call::Op::Line && c.colour == kWhite && c.scaleWidth == before &&
          (c.y1 == -57.5 || c.y1 == -207.5 || c.y1 == -327.5) && c.y2 > c.y1 + 1) {
        ++erasedAreaLines;
        ASSERT_NEAR((c.x1 - c.x2) / (c.y2 - c.y1), previousRpm / 20, 1e-9);
      }
    EXPECT_GT(erasedAreaLines, 2000);  // of 908 + 629 + 629, all but those of lift 1 or less
    previousRpm = k.rpm;
  }
  // The crank-angle view always shows them, also at rpm 2.
  space();  // 0 -> 3 -> 2 -> 1
  space();
  space();
  p.st.rpm = 2;
  EXPECT_EQ(middleTickParts(pass(), kBlack, 300), 3);
}

// PSet calls with the 25-pixel pen at a point, in a colour.
int dotsAt(const Calls& calls, double x, double y, Colour c) {
  int n = 0;
  for (const Call& k : calls)
    if (k.op == Call::Op::PSet && k.drawWidth == 25 && k.colour == c && near(k.x1, x) &&
        near(k.y1, y))
      ++n;
  return n;
}

// The load of an operating point, written out again: Int(0.965·(62 + Int(27·(endin −
// 0.045·rpm·(100 − 55·endin)/100)))), capped at 100.
double shownLoad(double endin, double rpm) {
  const double inner = std::floor(27 * (endin - 0.045 * rpm * (100 - 55 * endin) / 100));
  return std::min(100.0, std::floor(0.965 * (62 + inner)));
}

TEST_F(GraphViews, GaugeGapsFollowSpeedBelowTwelveAndLoadOnePassLate) {
  // The arc point of speed t: (110 + 50·Cos(2.8 − 0.2·t), 100·Sin(2.8 − 0.2·t) − 25).
  auto ax = [](double t) { return 110 + 50 * std::cos(2.8 - 0.2 * t); };
  auto ay = [](double t) { return 100 * std::sin(2.8 - 0.2 * t) - 25; };
  const double endin = 1 - kPi;
  p.st.rpm = 11.9;
  Calls calls = enter(1);
  EXPECT_EQ(dotsAt(calls, ax(11.9), ay(11.9), kWhite), 1);
  EXPECT_EQ(dotsAt(calls, ax(5), ay(5), kBlack), 1);  // rpm1 starts at 5
  // The first load gap stands at the starting 45 %: x = 90 + 45/2.
  EXPECT_EQ(dotsAt(calls, 112.5, 5, kWhite), 1);

  p.st.rpm = 12;
  calls = pass();
  EXPECT_EQ(dotsAt(calls, ax(11.9), ay(11.9), kBlack), 1) << "old gap filled";
  EXPECT_EQ(dotsAt(calls, ax(12), ay(12), kWhite), 0) << "no gap at 12";
  const double load1 = shownLoad(endin, 11.9);  // -28, computed by the entering pass
  EXPECT_EQ(dotsAt(calls, 90 + load1 / 2, 5, kWhite), 1);
  EXPECT_EQ(dotsAt(calls, 112.5, 5, kBlack), 1);

  p.st.rpm = 13;
  p.st.endin = 1.6;
  calls = pass();
  int speedDots = 0;
  for (const Call& k : calls)
    if (k.op == Call::Op::PSet && k.drawWidth == 25 && k.y1 != 5) ++speedDots;
  EXPECT_EQ(speedDots, 0) << "neither the old speed 12 nor 13 is on the arc";
  // The gap stands at the load this pass began with, not at the one it computes.
  const double load2 = shownLoad(endin, 12);
  EXPECT_EQ(dotsAt(calls, 90 + load2 / 2, 5, kWhite), 1);
  EXPECT_EQ(dotsAt(calls, 90 + load1 / 2, 5, kBlack), 1);
  EXPECT_EQ(dotsAt(calls, 90 + shownLoad(1.6, 13) / 2, 5, kWhite), 0);
  EXPECT_EQ(printedAt(calls, 116, 35), " 99 ");
}

TEST_F(GraphViews, AnUnchangedPassOnlySetsTheTopAndWaitsForAFrame) {
  for (int moo : {1, 0}) {
    SetUp();
    p.st.moo = 2;
    enter(moo);
    for (int i = 0; i < 3; ++i) {
      const auto before = host.counts();
      const Calls calls = pass();
      ASSERT_EQ(calls.size(), 1u) << "view " << moo;
      EXPECT_EQ(calls[0].op, Call::Op::Set);
      EXPECT_EQ(calls[0].property, Property::ScaleTop);
      EXPECT_EQ(calls[0].x1, 85);
      const auto after = host.counts();
      EXPECT_EQ(after.calls - before.calls, 1) << "one DoEvents a pass, at its end";
      EXPECT_EQ(after.waits - before.waits, 1) << "nothing drawn: wait for input or a frame";
      EXPECT_EQ(after.frames, before.frames);
    }
    // A changed pass is presented as a frame of its own.
    p.st.endin += 0.1;
    const auto before = host.counts();
    pass();
    EXPECT_EQ(host.counts().frames - before.frames, 1);
    EXPECT_EQ(host.counts().calls - before.calls, 1);
  }
}

bool finite(const Call& c) {
  return std::isfinite(c.x1) && std::isfinite(c.y1) && std::isfinite(c.x2) && std::isfinite(c.y2) &&
         std::isfinite(c.scaleLeft) && std::isfinite(c.scaleWidth) && c.scaleWidth > 0;
}

TEST_F(GraphViews, ASpeedAtOrBelowZeroStillGivesAPositiveScaleAndFiniteDrawing) {
  for (int moo : {1, 0}) {
    for (double rpm : {0.0, -3.0, 1e-12, 1.17, 12.5}) {
      SetUp();
      p.st.moo = 2;
      enter(moo);
      p.st.rpm = rpm;
      const Calls calls = pass();
      SCOPED_TRACE("moo " + std::to_string(moo) + " rpm " + std::to_string(rpm));
      EXPECT_GT(p.st.s, 0);
      EXPECT_GT(p.st.s1, 0);
      EXPECT_GT(sf.ScaleWidth(), 0);
      for (const Call& c : calls)
        ASSERT_TRUE(finite(c));
      if (rpm <= 0) {
        EXPECT_EQ(printedAt(calls, 113 * p.st.s1, 50), " 0 ");
      }
      // The next pass finds nothing changed, even at the guarded scale.
      EXPECT_EQ(pass().size(), 1u);
    }
  }
}

}  // namespace
}  // namespace corvane
