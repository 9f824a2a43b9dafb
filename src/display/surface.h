// The drawing surface every view draws on: a user coordinate system over the client area,
// immediate drawing operations, a pen width, two colours, a font size and a text cursor.
// This base keeps the properties and the coordinate mapping and paints nothing; the raster
// surface paints pixels, the recording surface logs the calls.
#pragma once

#include <string_view>

#include "display/colour.h"

namespace corvane {

// The size of a vertical user unit in twips (1440 twips per inch); fixed, never assigned.
inline constexpr double kVerticalUnitTwips = 25.33735;
// Twips per pixel at 96 pixels per inch.
inline constexpr double kTwipsPerPixelAt96Dpi = 15.0;
// The window's design client size in pixels at 96 DPI (15240 x 10560 twips).
inline constexpr int kDesignWidth = 1016;
inline constexpr int kDesignHeight = 704;

// Surface properties, as reported to propertySet() when one is assigned.
enum class Property { ScaleLeft, ScaleTop, ScaleWidth, ForeColor, BackColor, DrawWidth, FontSize };

class Surface {
 public:
  Surface(int widthPx = kDesignWidth, int heightPx = kDesignHeight,
          double twipsPerPixel = kTwipsPerPixelAt96Dpi);
  virtual ~Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // --- Drawing operations (user units) ---
  void Cls();                                                       // fill with BackColor
  void PSet(double x, double y, Colour c);                          // dot of DrawWidth pixels
  void Line(double x1, double y1, double x2, double y2);            // segment in ForeColor
  void Line(double x1, double y1, double x2, double y2, Colour c);  // segment in c
  void Box(double x1, double y1, double x2, double y2, Colour c);   // filled box, pen border
  void Circle(double x, double y, double radius, Colour c);         // outline, radius in x units
  void Print(std::string_view text);  // text, top-left of first cell at the cursor

  // --- Properties ---
  float ScaleLeft() const { return scaleLeft_; }
  void ScaleLeft(float v);
  float ScaleTop() const { return scaleTop_; }
  void ScaleTop(float v);
  float ScaleWidth() const { return scaleWidth_; }
  void ScaleWidth(float v);   // fixes the horizontal unit to the client width now
  float ScaleHeight() const;  // client height in (negative) vertical units; read only
  Colour ForeColor() const { return foreColor_; }
  void ForeColor(Colour c);
  Colour BackColor() const { return backColor_; }
  void BackColor(Colour c);  // a different value clears the surface to it
  int DrawWidth() const { return drawWidth_; }
  void DrawWidth(int pixels);  // at least 1
  float FontSize() const { return fontSize_; }
  void FontSize(float points);
  float CurrentX() const { return currentX_; }
  float CurrentY() const { return currentY_; }

  // --- Client area and coordinate mapping ---
  int clientWidth() const { return width_; }
  int clientHeight() const { return height_; }
  // A new client size; the horizontal unit keeps its size until ScaleWidth is assigned.
  virtual void resize(int widthPx, int heightPx);
  double twipsPerPixel() const { return twipsPerPixel_; }
  void setTwipsPerPixel(double t);
  // The pen in pixels: DrawWidth grows with the display's resolution above 96 DPI, so the
  // picture keeps its proportions.
  int penPixels() const;
  double pixelsPerUnitX() const { return unitX_; }
  double pixelsPerUnitY() const { return kVerticalUnitTwips / twipsPerPixel_; }
  // User coordinates to pixel coordinates of the client area (not rounded) and back.
  double pixelX(double x) const { return (x - scaleLeft_) * unitX_; }
  double pixelY(double y) const { return (scaleTop_ - y) * pixelsPerUnitY(); }
  double userX(double px) const { return scaleLeft_ + px / unitX_; }
  double userY(double py) const { return scaleTop_ - py / pixelsPerUnitY(); }

 protected:
  // Painting hooks, in user units with the colour to paint; the base paints nothing.
  virtual void paintClear(Colour /*c*/) {}
  virtual void paintDot(double /*x*/, double /*y*/, Colour /*c*/) {}
  virtual void paintSegment(double /*x1*/, double /*y1*/, double /*x2*/, double /*y2*/,
                            Colour /*c*/) {}
  virtual void paintBox(double /*x1*/, double /*y1*/, double /*x2*/, double /*y2*/, Colour /*c*/) {}
  virtual void paintCircle(double /*x*/, double /*y*/, double /*radius*/, Colour /*c*/) {}
  virtual void paintText(double /*x*/, double /*y*/, std::string_view /*text*/, Colour /*c*/) {}
  // Called after a property has been assigned (with its new value).
  virtual void propertySet(Property /*p*/, double /*value*/) {}

 private:
  int width_;
  int height_;
  double twipsPerPixel_;
  double unitX_;  // pixels per horizontal unit, fixed when ScaleWidth is assigned
  float scaleLeft_ = -103;
  float scaleTop_ = 80;
  float scaleWidth_ = 300;
  Colour foreColor_ = kBlack;
  Colour backColor_ = kWhite;
  int drawWidth_ = 1;
  float fontSize_ = 14.25f;
  float currentX_ = 0;
  float currentY_ = 0;
};

}  // namespace corvane
