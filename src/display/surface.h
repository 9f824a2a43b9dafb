// The drawing surface every view draws on: a user coordinate system over the client area,
// immediate drawing operations, a pen width, two colours, a font size and a text cursor.
// This base keeps the properties and the coordinate mapping and paints nothing; the raster
// surface paints pixels, the recording surface logs the calls.
#pragma once

#include <string_view>

#include "display/colour.h"

namespace corvane {

// The design canvas: the picture as it was drawn for a 1016-pixel-wide client, tall enough for
// every view (the engine view's crank reaches about row 816). Any client area shows this canvas
// zoomed uniformly to fit, at its top and centred across it.
inline constexpr int kDesignWidth = 1016;
inline constexpr int kDesignHeight = 830;
// A vertical user unit on the design canvas: 25.33735 twips at 15 twips a pixel.
inline constexpr double kDesignPixelsPerUnitY = 25.33735 / 15.0;
// Points to design pixels (20 twips a point, 15 twips a pixel).
inline constexpr double kDesignPixelsPerPoint = 20.0 / 15.0;

// Surface properties, as reported to propertySet() when one is assigned.
enum class Property { ScaleLeft, ScaleTop, ScaleWidth, ForeColor, BackColor, DrawWidth, FontSize };

class Surface {
 public:
  explicit Surface(int widthPx = kDesignWidth, int heightPx = kDesignHeight);
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
  void ScaleWidth(float v);  // the canvas spans v horizontal units
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
  // A new client size: the canvas is zoomed to fit it.
  virtual void resize(int widthPx, int heightPx);

  // The zoom of the design canvas: z = min(W / 1016, H / 830).
  double zoom() const { return zoom_; }
  // The canvas in client pixels: it stands at the top, centred across the client area.
  // Nothing but Cls paints outside it.
  int canvasLeft() const { return canvasLeft_; }
  int canvasWidth() const { return canvasWidth_; }
  int canvasHeight() const { return canvasHeight_; }
  // The pen and the text in pixels: DrawWidth and FontSize zoomed, a pen at least one pixel.
  int penPixels() const { return penPixels_; }
  double fontPixels() const { return fontSize_ * kDesignPixelsPerPoint * zoom_; }
  double pixelsPerUnitX() const { return kDesignWidth * zoom_ / scaleWidth_; }
  double pixelsPerUnitY() const { return kDesignPixelsPerUnitY * zoom_; }
  // User coordinates to pixel coordinates of the client area (not rounded) and back.
  double pixelX(double x) const { return canvasLeft_ + (x - scaleLeft_) * pixelsPerUnitX(); }
  double pixelY(double y) const { return (scaleTop_ - y) * pixelsPerUnitY(); }
  double userX(double px) const { return scaleLeft_ + (px - canvasLeft_) / pixelsPerUnitX(); }
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
  void fitCanvas();
  void fitPen();

  int width_;
  int height_;
  double zoom_ = 1;
  int canvasLeft_ = 0;
  int canvasWidth_ = kDesignWidth;
  int canvasHeight_ = kDesignHeight;
  float scaleLeft_ = -103;
  float scaleTop_ = 80;
  float scaleWidth_ = 300;
  Colour foreColor_ = kBlack;
  Colour backColor_ = kWhite;
  int drawWidth_ = 1;
  int penPixels_ = 1;
  float fontSize_ = 14.25f;
  float currentX_ = 0;
  float currentY_ = 0;
};

}  // namespace corvane
