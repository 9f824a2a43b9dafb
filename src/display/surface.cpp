#include "display/surface.h"

#include <algorithm>
#include <cmath>

namespace corvane {

Surface::Surface(int widthPx, int heightPx)
    : width_(std::max(widthPx, 1)), height_(std::max(heightPx, 1)) {
  fitCanvas();
}

// The largest uniform zoom at which the whole canvas fits; the canvas keeps to the top and
// shares the spare width equally between the two sides.
void Surface::fitCanvas() {
  zoom_ = std::min(static_cast<double>(width_) / kDesignWidth,
                   static_cast<double>(height_) / kDesignHeight);
  canvasLeft_ = static_cast<int>(std::lround((width_ - kDesignWidth * zoom_) / 2));
  canvasWidth_ =
      std::clamp(static_cast<int>(std::lround(kDesignWidth * zoom_)), 1, width_ - canvasLeft_);
  canvasHeight_ = std::clamp(static_cast<int>(std::lround(kDesignHeight * zoom_)), 1, height_);
  fitPen();
}

// Worked out when the width or the zoom changes: every shape asks for it, twice.
void Surface::fitPen() {
  penPixels_ = std::max(1, static_cast<int>(std::lround(drawWidth_ * zoom_)));
}

void Surface::Cls() {
  paintClear(backColor_);
  currentX_ = 0;
  currentY_ = 0;
}

void Surface::PSet(double x, double y, Colour c) {
  paintDot(x, y, c);
  currentX_ = static_cast<float>(x);
  currentY_ = static_cast<float>(y);
}

void Surface::Line(double x1, double y1, double x2, double y2) {
  Line(x1, y1, x2, y2, foreColor_);
}

void Surface::Line(double x1, double y1, double x2, double y2, Colour c) {
  paintSegment(x1, y1, x2, y2, c);
  currentX_ = static_cast<float>(x2);
  currentY_ = static_cast<float>(y2);
}

void Surface::Box(double x1, double y1, double x2, double y2, Colour c) {
  paintBox(x1, y1, x2, y2, c);
  currentX_ = static_cast<float>(x2);
  currentY_ = static_cast<float>(y2);
}

void Surface::Circle(double x, double y, double radius, Colour c) {
  paintCircle(x, y, radius, c);
  currentX_ = static_cast<float>(x);
  currentY_ = static_cast<float>(y);
}

void Surface::Print(std::string_view text) {
  paintText(currentX_, currentY_, text, foreColor_);
}

void Surface::ScaleLeft(float v) {
  scaleLeft_ = v;
  propertySet(Property::ScaleLeft, v);
}

void Surface::ScaleTop(float v) {
  scaleTop_ = v;
  propertySet(Property::ScaleTop, v);
}

void Surface::ScaleWidth(float v) {
  if (v == 0) return;  // a zero-wide scale has no meaning; keep the old one
  scaleWidth_ = v;
  propertySet(Property::ScaleWidth, v);
}

void Surface::ForeColor(Colour c) {
  foreColor_ = c;
  propertySet(Property::ForeColor, c);
}

void Surface::BackColor(Colour c) {
  const bool changed = c != backColor_;
  backColor_ = c;
  propertySet(Property::BackColor, c);
  if (changed) Cls();
}

void Surface::DrawWidth(int pixels) {
  drawWidth_ = std::clamp(pixels, 1, 32767);
  fitPen();
  propertySet(Property::DrawWidth, drawWidth_);
}

void Surface::FontSize(float points) {
  fontSize_ = points;
  propertySet(Property::FontSize, points);
}

void Surface::resize(int widthPx, int heightPx) {
  width_ = std::max(widthPx, 1);
  height_ = std::max(heightPx, 1);
  fitCanvas();
}

}  // namespace corvane
