// Pixels of the graph views: the time view's erase pass leaves no ghost when the scale
// changes, the crank-angle view's areas shrink cleanly, and a colour reversal or a view change
// leaves nothing of the old picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"
#include "graphs/graph_view.h"

namespace corvane {
namespace {

const double kPi = 4 * std::atan(1.0);
constexpr int kW = 1920, kH = 1080;

// A raster surface that also logs every painting call with the properties in force, so that
// a test can paint the same calls again elsewhere.
class TracingRaster : public RasterSurface {
 public:
  TracingRaster() : RasterSurface(kW, kH) {}
  std::vector<Call> log;

 protected:
  void paintClear(Colour c) override {
    add(Call::Op::Cls, 0, 0, 0, 0, c);
    RasterSurface::paintClear(c);
  }
  void paintDot(double x, double y, Colour c) override {
    add(Call::Op::PSet, x, y, x, y, c);
    RasterSurface::paintDot(x, y, c);
  }
  void paintSegment(double x1, double y1, double x2, double y2, Colour c) override {
    add(Call::Op::Line, x1, y1, x2, y2, c);
    RasterSurface::paintSegment(x1, y1, x2, y2, c);
  }
  void paintText(double x, double y, std::string_view text, Colour c) override {
    add(Call::Op::Print, x, y, x, y, c).text = std::string(text);
    RasterSurface::paintText(x, y, text, c);
  }

 private:
  Call& add(Call::Op op, double x1, double y1, double x2, double y2, Colour c) {
    Call k;
    k.op = op;
    k.x1 = x1, k.y1 = y1, k.x2 = x2, k.y2 = y2;
    k.colour = c;
    k.drawWidth = DrawWidth();
    k.scaleLeft = ScaleLeft(), k.scaleTop = ScaleTop(), k.scaleWidth = ScaleWidth();
    log.push_back(k);
    return log.back();
  }
};

// Paints calls on a surface as they were made, without their clears.
void replay(const std::vector<Call>& calls, RasterSurface& s) {
  for (const Call& c : calls) {
    if (c.op == Call::Op::Cls) continue;
    s.ScaleWidth(c.scaleWidth);
    s.ScaleLeft(c.scaleLeft);
    s.ScaleTop(c.scaleTop);
    s.DrawWidth(c.drawWidth);
    switch (c.op) {
      case Call::Op::PSet:
        s.PSet(c.x1, c.y1, c.colour);
        break;
      case Call::Op::Line:
        s.Line(c.x1, c.y1, c.x2, c.y2, c.colour);
        break;
      case Call::Op::Print:
        s.ForeColor(c.colour);
        s.PSet(c.x1, c.y1, s.BackColor());  // the cursor, as the program places it
        s.Print(c.text);
        break;
      default:
        break;
    }
  }
}

// The calls after the last clear among them.
std::vector<Call> afterLastClear(const std::vector<Call>& calls) {
  size_t from = 0;
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].op == Call::Op::Cls) from = i + 1;
  return {calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end()};
}

// The pixels that calls paint in any colour but the background, on a blank surface.
std::vector<bool> paintedBy(const std::vector<Call>& calls, Colour background) {
  RasterSurface s(kW, kH);
  s.BackColor(background);
  replay(calls, s);
  std::vector<bool> out(static_cast<size_t>(kW) * kH);
  const std::uint32_t bg = pixelOf(background);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      out[static_cast<size_t>(y) * kW + x] = s.pixel(x, y) != bg;
  return out;
}

// A program on a tracing raster surface, driven as the keys would drive it.
struct Rig {
  TracingRaster sf;
  ScriptedHost host;
  Program p{sf, host};

  // The engine view's settings in the given colours.
  void start(Colour bco = kWhite, Colour fco = kBlack) {
    initialise(p);
    p.st.bco = bco;
    p.st.fco = fco;
    sf.ScaleLeft(-110);
    sf.ScaleWidth(300);
    sf.ScaleTop(150);
    sf.DrawWidth(3);
    sf.BackColor(bco);
    sf.ForeColor(fco);
  }
  std::vector<Call> pass() {
    sf.log.clear();
    graphPass(p);
    return sf.log;
  }
  std::vector<Call> space() {
    p.st.moo = (4 + p.st.moo - 1) % 4;
    p.st.clse = 1;
    return pass();
  }
  std::vector<Call> at(double rpm, double endin) {
    p.st.rpm = rpm;
    p.st.endin = endin;
    return pass();
  }
  // What the colour key does to the surface and the state in a graph view.
  void reverseColours() {
    p.st.bco1 = p.st.bco;
    sf.BackColor(p.st.fco);
    sf.ForeColor(p.st.bco);
    p.st.bco = sf.BackColor();
    p.st.fco = sf.ForeColor();
    p.st.clse = 1;
    p.st.redraw = 1;
  }
};

// Lines of curves, areas, axes and ticks: the pen the engine view leaves (3), not in bco.
std::vector<Call> graphLines(const std::vector<Call>& calls, Colour bco) {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.op == Call::Op::Line && c.drawWidth == 3 && c.colour != bco) out.push_back(c);
  return out;
}

TEST(GraphPicture, TimeViewRescaleLeavesNoGhostOfThePreviousPass) {
  Rig r;
  auto& sf = r.sf;
  r.start();
  r.space();
  std::vector<Call> previous = r.space();  // into the time view at rpm 8
  struct Point {
    double rpm, endin;
  };
  const Point points[] = {{5, 0.5},   {2, -1},  {2.1, -1}, {12, 1.6},
                          {1.2, 0.3}, {4, 0.3}, {4, -2.2}, {9.5, -2.2}};
  for (const Point& k : points) {
    const std::vector<Call> calls = r.at(k.rpm, k.endin);
    SCOPED_TRACE(std::to_string(k.rpm) + " " + std::to_string(k.endin));
    const std::vector<bool> old = paintedBy(graphLines(previous, kWhite), kWhite);
    const std::vector<bool> repainted = paintedBy(calls, kWhite);
    long ghosts = 0, erased = 0, oldPixels = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const size_t i = static_cast<size_t>(y) * kW + x;
        if (!old[i]) continue;
        ++oldPixels;
        if (repainted[i]) continue;
        if (sf.pixel(x, y) == 0xFFFFFF) {
          ++erased;
        } else {
          ++ghosts;
        }
      }
    EXPECT_EQ(ghosts, 0);
    EXPECT_GT(oldPixels, 10000);
    // The check has teeth: much of the old picture is not covered by the new one.
    if (k.rpm != 2.1) {
      EXPECT_GT(erased, 1000);
    }
    previous = calls;
  }
}

std::vector<std::uint32_t> colourPixels(const RasterSurface& s, Colour c) {
  std::vector<std::uint32_t> at;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (s.pixel(x, y) == pixelOf(c)) at.push_back(static_cast<std::uint32_t>(y * kW + x));
  return at;
}

TEST(GraphPicture, CrankAngleAreasGrowAndShrinkWithTheLoadWithoutGhosts) {
  Rig r;
  auto& sf = r.sf;
  // At one speed the areas after any load history equal those of a view entered at that load.
  r.start();
  r.space();
  for (double endin : {1.5, -1.0, 0.7, -2.0}) {
    r.at(6, endin);
    Rig fresh;
    fresh.start();
    fresh.p.st.rpm = 6;
    fresh.p.st.endin = endin;
    fresh.space();
    SCOPED_TRACE(endin);
    for (Colour c : {kBrightGreen, kRed, kBlue}) {
      const auto now = colourPixels(sf, c);
      EXPECT_GT(now.size(), 1000u);
      EXPECT_EQ(now, colourPixels(fresh.sf, c)) << "area colour " << std::hex << c;
    }
  }
}

TEST(GraphPicture, ColourReversalRedrawsEverythingInTheNewColours) {
  Rig r;
  auto& sf = r.sf;
  auto& p = r.p;
  for (int moo : {1, 0}) {
    SCOPED_TRACE(moo);
    r.start();
    r.space();
    if (moo == 0) r.space();
    r.at(3, 1.2);
    r.at(7, -0.4);
    r.reverseColours();
    const std::vector<Call> calls = r.pass();
    // Nothing but what this pass painted: its calls on a blank black surface give the picture.
    {
      RasterSurface blank(kW, kH);
      blank.BackColor(kBlack);
      replay(calls, blank);
      EXPECT_TRUE(blank.snapshot() == sf.snapshot());
    }
    // And it is the picture of a view entered at this point in these colours from the start.
    Rig fresh;
    fresh.start(kBlack, kWhite);
    fresh.p.st.rpm = 7;
    fresh.p.st.endin = -0.4;
    fresh.p.st.load = p.st.load;  // where the load gap stands
    fresh.space();
    if (moo == 0) fresh.space();
    const auto a = sf.snapshot(), b = fresh.sf.snapshot();
    long differ = 0;
    for (size_t i = 0; i < a.size(); ++i)
      differ += a[i] != b[i];
    EXPECT_EQ(differ, 0);
    EXPECT_GT(colourPixels(sf, kWhite).size(), 10000u) << "curves, axes and labels in white";
  }
}

TEST(GraphPicture, EnteringEitherViewLeavesNothingOfTheViewBefore) {
  Rig r;
  auto& sf = r.sf;
  auto& p = r.p;
  r.start();
  // Something of the engine view's on the window before the space bar.
  sf.DrawWidth(30);
  sf.Line(-100, 140, 180, -250, kTeal);
  sf.DrawWidth(3);
  for (int view : {1, 0}) {
    const std::vector<Call> calls = r.space();
    ASSERT_EQ(p.st.moo, view);
    RasterSurface blank(kW, kH);
    replay(afterLastClear(calls), blank);
    EXPECT_TRUE(blank.snapshot() == sf.snapshot()) << "view " << view;
    EXPECT_TRUE(colourPixels(sf, kTeal).empty());
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

long differingPixels(const RasterSurface& a, const RasterSurface& b) {
  const auto x = a.snapshot(), y = b.snapshot();
  long n = 0;
  for (size_t i = 0; i < x.size(); ++i)
    n += x[i] != y[i];
  return n;
}

// Back in the engine view: its scale, a clear, something of its figure.
void engineView(Rig& r) {
  r.p.st.moo = 2;
  r.sf.ScaleLeft(-110);
  r.sf.ScaleWidth(300);
  r.sf.ScaleTop(150);
  r.sf.Cls();
  r.sf.Line(-100, 140, 180, -250, kTeal);
}

TEST(GraphPicture, TwoSpaceBarsInOneDoEventsEnterTheTimeViewAsOneAtATime) {
  for (bool before : {false, true}) {
    SCOPED_TRACE(before ? "after a round of the views" : "first entry");
    Rig one, both;
    for (Rig* r : {&one, &both}) {
      r->start();
      if (before) {
        r->space();
        r->space();
        r->at(5, 0.3);
        engineView(*r);
      }
    }
    one.space();
    one.space();
    both.p.st.moo = 0;  // 2 -> 1 -> 0 before the next pass
    both.p.st.clse = 1;
    both.pass();
    EXPECT_EQ(differingPixels(one.sf, both.sf), 0);
    EXPECT_TRUE(colourPixels(both.sf, kTeal).empty());
  }
}

}  // namespace
}  // namespace corvane
