// Pixels of the raster surface: where shapes land, the pen, text, erasing by drawing again and
// the damage it records; the zoom that fits the design canvas to the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "display/raster_surface.h"
#include "display/shape_cache.h"

namespace corvane {
namespace {

constexpr std::uint32_t kWhitePx = 0xFFFFFF;

struct Bounds {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};

Bounds painted(const RasterSurface& s, std::uint32_t background = kWhitePx) {
  Bounds b;
  for (int y = 0; y < s.clientHeight(); ++y)
    for (int x = 0; x < s.clientWidth(); ++x)
      if (s.pixel(x, y) != background) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
        ++b.count;
      }
  return b;
}

// A surface of the design size with the engine view's scale.
struct Fixture : ::testing::Test {
  RasterSurface s{kDesignWidth, kDesignHeight};
  void SetUp() override {
    s.ScaleLeft(-110);
    s.ScaleWidth(300);
    s.ScaleTop(150);
  }
};

TEST_F(Fixture, FilledBoxIsTheSameWhicheverCornersAreGiven) {
  s.DrawWidth(3);
  s.Box(10, 20, 40, -10, kBlue);
  const auto first = s.snapshot();
  for (auto [x1, y1, x2, y2] :
       {std::array{40.0, -10.0, 10.0, 20.0}, {10, -10, 40, 20}, {40, 20, 10, -10}}) {
    s.Cls();
    s.Box(x1, y1, x2, y2, kBlue);
    EXPECT_EQ(s.snapshot(), first);
  }
  // Filled inside, and the pen border reaches half its width beyond the corners.
  const Bounds b = painted(s);
  EXPECT_GE(b.count, (b.x1 - b.x0 + 1) * (b.y1 - b.y0 + 1) - 4);  // round pen: corners may go
  EXPECT_EQ(b.x0, static_cast<int>(std::floor(s.pixelX(10))) - 1);
  EXPECT_EQ(b.y1, static_cast<int>(std::floor(s.pixelY(-10))) + 1);
}

// Text stands below and right of its cursor in ForeColor: 14.25 points at 96 DPI, a 19-pixel
// face of Comic Neue, whose "E" begins 2 pixels right of the cursor and 5 below it and whose
// "g" reaches 21 below it. A circle is round on the screen, its radius in horizontal units.
TEST_F(Fixture, TextAndCircleStandAboutTheirPoint) {
  const int px = static_cast<int>(std::floor(s.pixelX(0)));
  const int py = static_cast<int>(std::floor(s.pixelY(0)));
  s.ForeColor(kRed);
  s.PSet(0, 0, kWhite);  // the cursor trick: a background dot, then the text
  s.Print("Engine");
  const Bounds t = painted(s);
  EXPECT_EQ(std::tuple(t.x0 - px, t.y0 - py, t.y1 - py), std::tuple(2, 5, 21));
  EXPECT_EQ(painted(s, 0xFF0000u).count, s.clientWidth() * s.clientHeight() - t.count)
      << "every painted pixel red";
  s.Cls();
  s.DrawWidth(1);
  s.Circle(0, 0, 10, kBlack);
  const Bounds c = painted(s);
  const double r = 10 * s.pixelsPerUnitX();
  EXPECT_NEAR((c.x1 - c.x0) / 2.0, r, 1.0);
  EXPECT_NEAR((c.y1 - c.y0) / 2.0, r, 1.0);
  EXPECT_EQ(s.pixel(px, py), kWhitePx) << "the circle's interior stays unpainted";
}

// A shape that crosses the top or left edge shows the part of itself drawn whole further in:
// its first point falls in the pixel below and left of it there too (floor, not truncation).
TEST(RasterSurface, ShapesAcrossTheTopAndLeftEdgesAreCutFromTheWholeShape) {
  constexpr int kShift = 50, kSide = 120;
  std::vector<std::uint32_t> pics[2];
  for (int shifted = 0; shifted < 2; ++shifted) {
    RasterSurface s(kSide, kSide);
    s.ScaleLeft(0);
    s.ScaleWidth(kSide);
    s.ScaleTop(0);
    const double d = shifted * kShift, u = 1 / s.pixelsPerUnitX();
    const auto at = [&](double px, double py) {
      return std::pair{s.userX(px + d), s.userY(py + d)};
    };
    s.DrawWidth(3);
    const auto [x0, y0] = at(-4.7, -6.2);
    const auto [x1, y1] = at(30.4, 41.9);
    s.Line(x0, y0, x1, y1, kBlue);
    const auto [cx, cy] = at(-0.4, 12.3);
    s.Circle(cx, cy, 9.3 * u, kRed);
    const auto [bx, by] = at(8.6, -2.5);
    s.Box(bx, by, bx + 14 * u, by - 6 * u, kGreen);
    pics[shifted] = s.snapshot();
  }
  int differ = 0;
  for (int y = 0; y < kSide - kShift; ++y)
    for (int x = 0; x < kSide - kShift; ++x)
      differ += pics[0][static_cast<std::size_t>(y) * kSide + x] !=
                pics[1][static_cast<std::size_t>(y + kShift) * kSide + x + kShift];
  EXPECT_EQ(differ, 0);
}

// Each shape drawn twice, blue and then red, the second time from the runs kept the first,
// into a window's pixels as they stand once the damage is taken. Whatever the cache paints
// differently from cairo, a pixel too many or too few, shows against plain cairo.
void expectCacheAsCairo(int w, int h, const std::function<void(RasterSurface&, Colour)>& draw,
                        const std::string& what) {
  std::vector<std::uint32_t> pics[2], read[2];
  for (int cached = 0; cached < 2; ++cached) {
    pics[cached].resize(static_cast<std::size_t>(w) * h);
    RasterSurface s(w, h);
    s.attach(pics[cached].data(), w, h, w * 4);
    s.setShapeCache(cached == 1);
    s.Cls();
    s.ScaleLeft(0);
    s.ScaleWidth(static_cast<float>(w));
    s.ScaleTop(0);
    draw(s, kBlue);
    draw(s, kRed);
    read[cached] = s.snapshot();  // what is held back is written before the picture is read
    s.takeDamage();
  }
  EXPECT_EQ(pics[0], pics[1]) << what;
  EXPECT_EQ(read[0], read[1]) << what << ", read before the damage was taken";
}
// A cache that fills up forgets everything and starts anew, by its count of shapes or by its
// pool of runs: a small one, asked for shapes round and round in numbers that fill it several
// times over, gives each time the runs that a cache large enough for all gives.
TEST(ShapeCache, StartsAnewWhenFullAndGivesTheSameRuns) {
  const auto copy = [](const Runs& r) {
    std::vector<std::array<int, 3>> out;
    for (std::size_t k = 0; k < r.size; ++k)
      out.push_back({r.dy ? r.dy[k] : r.dy0 + static_cast<int>(k), r.x0[k], r.len[k]});
    return out;
  };
  std::vector<ShapeKey> keys;
  for (int i = 0; i < 90; ++i) {
    keys.push_back(ShapeKey::segment(1 + i % 5, i % 13 * 3 - 18, i % 7 * 5 - 10));
    if (i % 6 == 0) keys.push_back(ShapeKey::circle(2, 3.5 + i / 6));
    if (i % 9 == 0) keys.push_back(ShapeKey::box(3, i / 9 + 2, 7));
  }
  ShapeCache all;
  for (const auto& [slots, values] : {std::pair{64, 1 << 20}, std::pair{1 << 12, 1500}}) {
    ShapeCache small({static_cast<std::size_t>(slots), static_cast<std::size_t>(values)});
    for (int round = 0; round < 3; ++round)
      for (std::size_t k = 0; k < keys.size(); k += 1 + round)
        ASSERT_EQ(copy(small.find(keys[k])), copy(all.find(keys[k])))
            << "shape " << k << " in round " << round << ", " << slots << " slots";
    EXPECT_LT(small.shapes(), 48u) << "never more than three quarters of the slots";
  }
}

// Shapes of every kind and several pens across each window edge, where cairo clips; copies of a
// thin segment (runs a pixel long) and of a circle (two runs a row) along a row, at the same
// place, a pixel and two pixels apart, under a circle across the edge (drawn by cairo), the
// last segment again over it in its place and all again further on, held back until the damage
// is taken; new segments,
// worked out without cairo: every direction and length up to 24 pixels, one to a cell, and long
// ones up to the checked reach, for thin, even and wide pens.
TEST(ShapeCache, PaintsWhatCairoPaints) {
  const int w = 120, h = 90;
  for (const int pen : {1, 3, 6}) {
    for (int edge = 0; edge < 4; ++edge) {
      expectCacheAsCairo(
          w, h,
          [&](RasterSurface& s, Colour c) {
            s.DrawWidth(pen);
            for (int off = -14; off <= 14; off += 2) {
              const double along = 20 + 2.5 * (off + 14);  // spread along the edge
              const double px = edge == 0 ? off : edge == 1 ? w - 1 - off : along;
              const double py = edge == 2 ? off : edge == 3 ? h - 1 - off : along * 0.7;
              const double x = s.userX(px + 0.3), y = s.userY(py + 0.6);
              const double u = 1 / s.pixelsPerUnitX(), v = 1 / s.pixelsPerUnitY();
              s.Circle(x, y, 9.3 * u, c);
              s.PSet(x, y, c);
              s.Line(x, y, x + 7 * u, y - 11 * v, c);
              s.Box(x - 4 * u, y - 3 * v, x + 5 * u, y + 2 * v, c);
            }
          },
          "pen " + std::to_string(pen) + " edge " + std::to_string(edge));
    }
  }
  const double xs[] = {20, 20, 21, 22, 24, 25, 26, 28};
  const auto line = [&](RasterSurface& s, Colour c, double x) {
    s.Line(s.userX(x + 0.3), s.userY(20.6), s.userX(x + 30.3), s.userY(60.6), c);
  };
  const auto series = [&](RasterSurface& s, Colour c, double dx) {
    for (const double x : xs)
      line(s, c, x + dx);
  };
  expectCacheAsCairo(
      400, 330,
      [&](RasterSurface& s, Colour c) {
        for (const double x : xs)
          s.Circle(s.userX(x + 200.3), s.userY(40.6), 9.3 / s.pixelsPerUnitX(), c);
        series(s, c, 0);
        // Across the edge, so cairo draws it, in another colour over the series; then the
        // series' last line again where the circle crossed it, and the series further on.
        s.Circle(s.userX(5.3), s.userY(40.6), 36 / s.pixelsPerUnitX(), c ^ 0x00FF00);
        line(s, c, xs[7]);
        series(s, c, 100);
      },
      "copies of a segment and of a circle side by side, and again after cairo drew");
  expectCacheAsCairo(
      400, 330,
      [&](RasterSurface& s, Colour c) {
        series(s, c, 0);
        s.Cls();
      },
      "copies of a segment cleared while held back");
  for (const int pen : {1, 2, 3, 4, 5, 8}) {
    for (int firstRow = -24; firstRow <= 24; firstRow += 10) {
      expectCacheAsCairo(
          1200, 700,
          [&](RasterSurface& s, Colour c) {
            s.DrawWidth(pen);
            for (int dy = firstRow; dy < std::min(firstRow + 10, 25); ++dy)
              for (int dx = -24; dx <= 24; ++dx) {
                const double x = 600 + dx * 24 + 0.4, y = 350 + (dy - firstRow - 5) * 66 + 0.7;
                s.Line(s.userX(x), s.userY(y), s.userX(x + dx), s.userY(y + dy), c);
              }
          },
          "short segments, pen " + std::to_string(pen) + " from row " + std::to_string(firstRow));
    }
    expectCacheAsCairo(
        900, 900,
        [&](RasterSurface& s, Colour c) {
          s.DrawWidth(pen);
          for (int i = 0; i < 90; ++i) {
            const int dx = (i * 97) % 801 - 400, dy = i % 3 == 0 ? i % 7 - 3 : (i * 61) % 801 - 400;
            const double x = 450 - dx / 2 + 0.2, y = 450 - dy / 2 + 0.9;
            s.Line(s.userX(x), s.userY(y), s.userX(x + dx), s.userY(y + dy), c);
          }
        },
        "long segments, pen " + std::to_string(pen));
  }
}

// Every shape drawn on a background and drawn again in the background colour leaves the
// picture as it was (the figure relies on this to move its parts), leaving alone what lies
// underneath. Every pixel that a drawing call changes lies in the damage that the window
// presents (or it would stay on the screen as it was), for segments at every slope, pen and
// length, partly outside the window too and in the last row and column of tiles (the size is
// no whole number of tiles), for series of segments side by side (held back and joined row by
// row before they are written), for dots, boxes, circles and text; once taken, the damage is
// forgotten; and a long diagonal is presented as a band along it, not as its whole extent.
TEST(RasterDamage, EraseIsExactAndDamageCoversEveryChangedPixel) {
  RasterSurface s(600, 420);
  s.ScaleLeft(0);
  s.ScaleWidth(600);
  s.ScaleTop(0);
  auto x = [&](double px) { return s.userX(px + 0.3); };
  auto y = [&](double py) { return s.userY(py + 0.6); };
  std::mt19937 random(12345);
  const auto next = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<std::uint32_t> before = s.snapshot();
  const auto expectDamaged = [&](const std::string& what) {
    const std::vector<std::uint32_t> after = s.snapshot();
    const auto rects = s.takeDamage();
    int missed = 0;
    for (int py = 0; py < 420; ++py)
      for (int px = 0; px < 600; ++px) {
        const std::size_t k = static_cast<std::size_t>(py) * 600 + px;
        missed += after[k] != before[k] && std::none_of(rects.begin(), rects.end(), [&](auto& r) {
                    return px >= r.x && px < r.x + r.w && py >= r.y && py < r.y + r.h;
                  });
      }
    EXPECT_EQ(missed, 0) << what << " changed pixels outside its damage";
    EXPECT_TRUE(s.takeDamage().empty()) << what;
    before = after;
  };
  const auto ground = [&] {  // something underneath, which the erase may cut: drawn again
    s.DrawWidth(5);
    s.Line(x(0), y(200), x(600), y(200), kGreen);
  };
  ground();
  expectDamaged("the ground");
  const auto base = s.snapshot();
  for (int i = 0; i < 200; ++i) {
    const int pen = std::array{1, 2, 3, 7, 25, 30}[next(6)], kind = i % 10;
    const double x1 = next(900) - 150, y1 = next(700) - 150, x2 = next(900) - 150,
                 y2 = next(700) - 150, r = next(600) / 10.0;
    const auto draw = [&](Colour c) {
      s.DrawWidth(pen);
      if (kind == 0) {
        s.PSet(x(x1), y(y1), c);
      } else if (kind == 1) {
        s.Box(x(x1), y(y1), x(x1 + x2 / 3), y(y1 + y2 / 3), c);
      } else if (kind == 2) {
        s.Circle(x(x1), y(y1), r / s.pixelsPerUnitX(), c);
      } else if (kind == 3) {
        s.ForeColor(c);
        s.PSet(x(x1), y(y1), kWhite);
        s.Print("Outgoing Air Control:");
      } else if (kind == 4) {  // a series side by side, as area lines, whose rows are held back
        const double left = 40 + x1 / 2, bottom = 60 + y2 / 2;
        const int across = static_cast<int>(r) % 41 - 20, up = 8 + pen, lines = 6 + pen % 9;
        for (int j = 0; j < lines; ++j)
          s.Line(x(left + j), y(bottom), x(left + j + across), y(bottom - up - j % 3), c);
      } else {
        s.Line(x(x1), y(y1), x(x2), y(y2), c);
      }
    };
    const std::string what = "call " + std::to_string(i) + " (kind " + std::to_string(kind) +
                             ", pen " + std::to_string(pen) + ")";
    draw(i % 2 ? kBlack : kRed);
    expectDamaged(what);
    draw(kWhite);
    ground();
    expectDamaged(what + ", erased");
    ASSERT_EQ(s.snapshot(), base) << what << " left a trace";
  }
  // A diagonal across 400 rows: a band some three tiles wide, not its 400 x 400 extent.
  s.DrawWidth(3);
  s.Line(x(100), y(10), x(500), y(410), kBlack);
  int area = 0;
  for (const auto& r : s.takeDamage())
    area += r.w * r.h;
  EXPECT_GT(area, 400 * 16);
  EXPECT_LT(area, 400 * 64);
}

// The design canvas zoomed to fit: z = min(W / 1016, H / 830), the canvas at the top and
// centred across, a vertical unit of 25.33735 twips (15 to a pixel) times z, pens and text
// times z. Each size with its zoom and the canvas's left edge and width, worked out by hand.
// Cls paints the whole client area; a shape, even one that reaches far beyond the canvas,
// paints only the canvas; a dot is round, of the pen's width, about its point's pixel.
TEST(Zoom, FitsTheDesignCanvasToEveryClientSize) {
  struct Size {
    int w, h;
    double z;
    int left, width, pen25;
  };
  const Size sizes[] = {{1016, 830, 1.0, 0, 1016, 25},
                        {1920, 1080, 1080 / 830.0, 299, 1322, 33},
                        {1280, 1024, 1024 / 830.0, 13, 1253, 31},
                        {3840, 2160, 2160 / 830.0, 598, 2644, 65},
                        {800, 600, 600 / 830.0, 33, 734, 18},
                        {1, 1, 1 / 1016.0, 0, 1, 1}};
  for (const Size& s : sizes) {
    RasterSurface sf(s.w, s.h);
    sf.ScaleLeft(-110);
    sf.ScaleTop(150);
    sf.ScaleWidth(600);
    sf.DrawWidth(25);
    const std::string at = std::to_string(s.w) + "x" + std::to_string(s.h);
    EXPECT_DOUBLE_EQ(sf.zoom(), s.z) << at;
    EXPECT_EQ(std::tuple(sf.canvasLeft(), sf.penPixels()), std::tuple(s.left, s.pen25)) << at;
    // x = 190 is half the canvas to the right of ScaleLeft; y = 50 lies 100 units down.
    EXPECT_NEAR(sf.pixelX(190), s.left + 508 * s.z, 1e-9) << at;
    EXPECT_NEAR(sf.pixelY(50), 100 * 25.33735 / 15 * s.z, 1e-9) << at;
    EXPECT_NEAR(sf.userX(sf.pixelX(-300)), -300, 1e-6) << at;
    EXPECT_NEAR(sf.userY(sf.pixelY(-300)), -300, 1e-6) << at;
    EXPECT_NEAR(sf.fontPixels(), 14.25 * 4 / 3 * s.z, 1e-9) << at;
    sf.BackColor(kBlack);  // a different colour clears the client area, margins included
    EXPECT_EQ(painted(sf, kWhitePx).count, s.w * s.h) << at;
    sf.Line(-1000, 150, 1000, 150, kRed);
    sf.Circle(-103, 150, 40, kRed);
    const Bounds b = painted(sf, 0);
    EXPECT_EQ(std::tuple(b.x0, b.x1), std::tuple(s.left, s.left + s.width - 1)) << at;
    for (const bool line : {false, true}) {  // a line of no length is a dot too
      sf.Cls();
      line ? sf.Line(0, 0, 0, 0, kRed) : sf.PSet(0, 0, kRed);
      const Bounds dot = painted(sf, 0);
      EXPECT_EQ(std::tuple(dot.x1 - dot.x0 + 1, dot.y1 - dot.y0 + 1), std::tuple(s.pen25, s.pen25))
          << at;
      EXPECT_NEAR((dot.x0 + dot.x1) / 2.0, std::floor(sf.pixelX(0)), 0.5) << at;
      EXPECT_NEAR((dot.y0 + dot.y1) / 2.0, std::floor(sf.pixelY(0)), 0.5) << at;
      EXPECT_TRUE(s.pen25 < 7 || dot.count < s.pen25 * s.pen25) << at << ": round, not square";
    }
  }
}

}  // namespace
}  // namespace corvane
