// The picture above 96 DPI: the factor read from the desktop, and what it scales.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
  for (RasterSurface* s : {&normal, &sharp}) {
    s->ScaleLeft(-110);
    s->ScaleWidth(300);
    s->ScaleTop(150);
    s->DrawWidth(3);
  }
  EXPECT_DOUBLE_EQ(sharp.pixelsPerUnitY(), 2 * normal.pixelsPerUnitY());
  EXPECT_DOUBLE_EQ(sharp.pixelsPerUnitX(), normal.pixelsPerUnitX());
  EXPECT_EQ(normal.penPixels(), 3);
  EXPECT_EQ(sharp.penPixels(), 6);
  // A horizontal stroke is twice as thick; a line of text twice as tall.
  auto rowsPainted = [](const RasterSurface& s, int x) {
    int n = 0;
    for (int y = 0; y < s.clientHeight(); ++y)
      n += s.pixel(x, y) != 0xFFFFFF;
    return n;
  };
  for (RasterSurface* s : {&normal, &sharp})
    s->Line(0, 100, 50, 100, kBlack);
  const int x = static_cast<int>(normal.pixelX(25));
  EXPECT_EQ(rowsPainted(sharp, x), 2 * rowsPainted(normal, x));
  auto textHeight = [](const RasterSurface& s) {
    int top = s.clientHeight(), bottom = -1;
    for (int y = 0; y < s.clientHeight(); ++y)
      for (int x = 0; x < s.clientWidth(); ++x)
        if (s.pixel(x, y) != 0xFFFFFF) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    return bottom - top + 1;
  };
  for (RasterSurface* s : {&normal, &sharp}) {
    s->Cls();
    s->PSet(-100, 140, kWhite);
    s->Print("Engine");
  }
  EXPECT_NEAR(textHeight(sharp), 2 * textHeight(normal), 2);
}

}  // namespace
}  // namespace corvane
