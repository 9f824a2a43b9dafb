// The picture above 96 DPI: the factor read from the desktop, and what it scales.
#include <gtest/gtest.h>

#include <tuple>

#include "display/raster_surface.h"
#include "display/resolution.h"

namespace corvane {
namespace {

TEST(Resolution, ReadsXftDpiFromTheResourceDatabase) {
  EXPECT_EQ(xftDpi("Xft.dpi:\t192\n"), 192.0);
  EXPECT_EQ(xftDpi("Xcursor.size:\t24\nXft.dpi: 144\nXft.hinting:\t1\n"), 144.0);
  EXPECT_EQ(xftDpi("Xft.dpi:\t120"), 120.0);  // no final newline
  EXPECT_FALSE(xftDpi("Xcursor.size:\t24\n"));
  EXPECT_FALSE(xftDpi("Xft.dpi:\tlarge\n"));
  EXPECT_FALSE(xftDpi("*Xft.dpi:\t192\n"));
  EXPECT_FALSE(xftDpi(""));
  EXPECT_EQ(resolutionScale(96), 1.0);
  EXPECT_EQ(resolutionScale(72), 1.0);
  EXPECT_EQ(resolutionScale(192), 2.0);
}

// At twice the resolution the vertical unit, the pen and the font double; the horizontal
// unit still follows the width of the window.
TEST(Resolution, DoubleResolutionDoublesTheVerticalUnitPensAndText) {
  RasterSurface normal(960, 540), sharp(960, 540, kTwipsPerPixelAt96Dpi / 2);
  // The rows that a horizontal stroke, or a line of text, paints.
  const auto rows = [](RasterSurface& s, bool text) {
    s.Cls();
    if (text) {
      s.PSet(-100, 140, kWhite);
      s.Print("Engine");
    } else {
      s.Line(0, 100, 50, 100, kBlack);
    }
    int n = 0;
    for (int y = 0; y < s.clientHeight(); ++y)
      for (int x = 0; x < s.clientWidth(); ++x)
        if (s.pixel(x, y) != 0xFFFFFF) {
          ++n;
          break;
        }
    return n;
  };
  for (RasterSurface* s : {&normal, &sharp}) {
    s->ScaleLeft(-110);
    s->ScaleWidth(300);
    s->ScaleTop(150);
    s->DrawWidth(3);
  }
  EXPECT_DOUBLE_EQ(sharp.pixelsPerUnitY(), 2 * normal.pixelsPerUnitY());
  EXPECT_EQ(std::tuple(sharp.pixelsPerUnitX(), normal.penPixels(), sharp.penPixels()),
            std::tuple(normal.pixelsPerUnitX(), 3, 6));
  EXPECT_EQ(rows(sharp, false), 2 * rows(normal, false));
  const int text = rows(normal, true);
  EXPECT_GT(text, 10);
  EXPECT_NEAR(rows(sharp, true), 2 * text, 2);
}

}  // namespace
}  // namespace corvane
