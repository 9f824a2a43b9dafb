#include "display/raster_surface.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {
constexpr int kTile = 64;  // damage is recorded per tile of kTile x kTile pixels
}

struct RasterSurface::Impl {
  std::vector<std::uint32_t> own;  // the image when no one else's pixels are attached
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0, stride = 0;  // stride in pixels
  cairo_surface_t* image = nullptr;
  cairo_t* cr = nullptr;
  int tilesX = 0, tilesY = 0;
  std::vector<std::uint8_t> dirty;
  bool anyDirty = true;

  void bind(std::uint32_t* px, int w, int h, int strideBytes) {
    release();
    pixels = px;
    width = w;
    height = h;
    stride = strideBytes / 4;
    image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(px),
                                                CAIRO_FORMAT_RGB24, w, h, strideBytes);
    cr = cairo_create(image);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, fo);
    cairo_font_options_destroy(fo);
    cairo_select_font_face(cr, "Comic Sans MS", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    tilesX = (w + kTile - 1) / kTile;
    tilesY = (h + kTile - 1) / kTile;
    dirty.assign(static_cast<size_t>(tilesX) * tilesY, 1);
    anyDirty = true;
  }
  void release() {
    if (cr) cairo_destroy(cr);
    if (image) cairo_surface_destroy(image);
    cr = nullptr;
    image = nullptr;
  }
  void own_image(int w, int h) {
    own.assign(static_cast<size_t>(w) * h, 0);
    bind(own.data(), w, h, w * 4);
  }
  void colour(Colour c) {
    cairo_set_source_rgb(cr, redOf(c) / 255.0, greenOf(c) / 255.0, blueOf(c) / 255.0);
  }
};

RasterSurface::RasterSurface(int widthPx, int heightPx, double twipsPerPixel)
    : Surface(widthPx, heightPx, twipsPerPixel), impl_(std::make_unique<Impl>()) {
  impl_->own_image(clientWidth(), clientHeight());
  paintClear(BackColor());
}

RasterSurface::~RasterSurface() {
  impl_->release();
}

void RasterSurface::attach(std::uint32_t* pixels, int widthPx, int heightPx, int strideBytes) {
  Surface::resize(widthPx, heightPx);
  impl_->own.clear();
  impl_->bind(pixels, widthPx, heightPx, strideBytes);
}

void RasterSurface::resize(int widthPx, int heightPx) {
  Surface::resize(widthPx, heightPx);
  impl_->own_image(clientWidth(), clientHeight());
  paintClear(BackColor());
}

std::uint32_t RasterSurface::pixel(int x, int y) const {
  return impl_->pixels[static_cast<size_t>(y) * impl_->stride + x] & 0x00FFFFFF;
}

const std::uint32_t* RasterSurface::row(int y) const {
  return impl_->pixels + static_cast<size_t>(y) * impl_->stride;
}

std::vector<std::uint32_t> RasterSurface::snapshot() const {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<size_t>(impl_->width) * impl_->height);
  for (int y = 0; y < impl_->height; ++y)
    for (int x = 0; x < impl_->width; ++x)
      out.push_back(pixel(x, y));
  return out;
}

bool RasterSurface::writePng(const std::string& path) const {
  cairo_surface_flush(impl_->image);
  return cairo_surface_write_to_png(impl_->image, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void RasterSurface::damage(double x0, double y0, double x1, double y1) {
  Impl& m = *impl_;
  const int tx0 =
      std::clamp(static_cast<int>(std::floor(std::min(x0, x1))) / kTile, 0, m.tilesX - 1);
  const int tx1 =
      std::clamp(static_cast<int>(std::floor(std::max(x0, x1))) / kTile, 0, m.tilesX - 1);
  const int ty0 =
      std::clamp(static_cast<int>(std::floor(std::min(y0, y1))) / kTile, 0, m.tilesY - 1);
  const int ty1 =
      std::clamp(static_cast<int>(std::floor(std::max(y0, y1))) / kTile, 0, m.tilesY - 1);
  if (std::max(x0, x1) < 0 || std::max(y0, y1) < 0 || std::min(x0, x1) >= m.width ||
      std::min(y0, y1) >= m.height)
    return;
  m.anyDirty = true;
  for (int ty = ty0; ty <= ty1; ++ty)
    std::fill_n(m.dirty.begin() + static_cast<size_t>(ty) * m.tilesX + tx0, tx1 - tx0 + 1, 1);
}

void RasterSurface::damageAll() {
  std::fill(impl_->dirty.begin(), impl_->dirty.end(), 1);
  impl_->anyDirty = true;
}

// Runs of dirty tiles along each tile row, merged with the run of the same columns in the row
// above: a handful of rectangles for a figure spread across the window.
std::vector<PixelRect> RasterSurface::takeDamage() {
  Impl& m = *impl_;
  std::vector<PixelRect> out;
  if (!m.anyDirty) return out;
  m.anyDirty = false;
  std::vector<PixelRect> open;  // rects that ended on the previous tile row
  for (int ty = 0; ty < m.tilesY; ++ty) {
    std::vector<PixelRect> current;
    for (int tx = 0; tx < m.tilesX;) {
      if (!m.dirty[static_cast<size_t>(ty) * m.tilesX + tx]) {
        ++tx;
        continue;
      }
      int end = tx;
      while (end < m.tilesX && m.dirty[static_cast<size_t>(ty) * m.tilesX + end])
        ++end;
      PixelRect r{tx * kTile, ty * kTile, (end - tx) * kTile, kTile};
      auto above = std::find_if(open.begin(), open.end(),
                                [&](const PixelRect& o) { return o.x == r.x && o.w == r.w; });
      if (above != open.end()) {
        r.y = above->y;
        r.h = ty * kTile + kTile - r.y;
        open.erase(above);
      }
      current.push_back(r);
      tx = end;
    }
    out.insert(out.end(), open.begin(), open.end());
    open = std::move(current);
  }
  out.insert(out.end(), open.begin(), open.end());
  for (PixelRect& r : out) {
    r.w = std::min(r.w, m.width - r.x);
    r.h = std::min(r.h, m.height - r.y);
  }
  std::fill(m.dirty.begin(), m.dirty.end(), 0);
  return out;
}

double RasterSurface::centreX(double x) const {
  return std::floor(pixelX(x)) + 0.5;
}
double RasterSurface::centreY(double y) const {
  return std::floor(pixelY(y)) + 0.5;
}

void RasterSurface::paintClear(Colour c) {
  const std::uint32_t v = pixelOf(c);
  Impl& m = *impl_;
  cairo_surface_flush(m.image);
  for (int y = 0; y < m.height; ++y)
    std::fill_n(m.pixels + static_cast<size_t>(y) * m.stride, m.width, v);
  cairo_surface_mark_dirty(m.image);
  damageAll();
}

void RasterSurface::paintDot(double x, double y, Colour c) {
  Impl& m = *impl_;
  const double cx = centreX(x), cy = centreY(y);
  const double r = DrawWidth() / 2.0;
  m.colour(c);
  if (DrawWidth() == 1) {
    cairo_rectangle(m.cr, cx - 0.5, cy - 0.5, 1, 1);
  } else {
    cairo_arc(m.cr, cx, cy, r, 0, 2 * M_PI);
  }
  cairo_fill(m.cr);
  damage(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1);
}

void RasterSurface::paintSegment(double x1, double y1, double x2, double y2, Colour c) {
  Impl& m = *impl_;
  const double ax = centreX(x1), ay = centreY(y1), bx = centreX(x2), by = centreY(y2);
  const double r = DrawWidth() / 2.0;
  m.colour(c);
  cairo_set_line_width(m.cr, DrawWidth());
  cairo_move_to(m.cr, ax, ay);
  cairo_line_to(m.cr, bx, by);
  cairo_stroke(m.cr);
  damage(std::min(ax, bx) - r - 1, std::min(ay, by) - r - 1, std::max(ax, bx) + r + 1,
         std::max(ay, by) + r + 1);
}

void RasterSurface::paintBox(double x1, double y1, double x2, double y2, Colour c) {
  Impl& m = *impl_;
  const double ax = std::min(centreX(x1), centreX(x2)), bx = std::max(centreX(x1), centreX(x2));
  const double ay = std::min(centreY(y1), centreY(y2)), by = std::max(centreY(y1), centreY(y2));
  const double r = DrawWidth() / 2.0;
  m.colour(c);
  cairo_set_line_width(m.cr, DrawWidth());
  cairo_rectangle(m.cr, ax, ay, bx - ax, by - ay);
  cairo_fill_preserve(m.cr);
  cairo_stroke(m.cr);
  damage(ax - r - 1, ay - r - 1, bx + r + 1, by + r + 1);
}

void RasterSurface::paintCircle(double x, double y, double radius, Colour c) {
  Impl& m = *impl_;
  const double cx = centreX(x), cy = centreY(y);
  const double rp = std::abs(radius) * pixelsPerUnitX();
  const double r = rp + DrawWidth() / 2.0;
  m.colour(c);
  cairo_set_line_width(m.cr, DrawWidth());
  cairo_new_sub_path(m.cr);
  cairo_arc(m.cr, cx, cy, rp, 0, 2 * M_PI);
  cairo_stroke(m.cr);
  damage(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1);
}

void RasterSurface::paintText(double x, double y, std::string_view text, Colour c) {
  Impl& m = *impl_;
  const std::string s(text);
  const double sizePx = FontSize() * 20.0 / twipsPerPixel();  // points -> twips -> pixels
  cairo_set_font_size(m.cr, sizePx);
  cairo_font_extents_t fe;
  cairo_font_extents(m.cr, &fe);
  const double left = std::floor(pixelX(x));
  const double baseline = std::floor(pixelY(y)) + std::round(fe.ascent);
  m.colour(c);
  cairo_move_to(m.cr, left, baseline);
  cairo_show_text(m.cr, s.c_str());
  cairo_new_path(m.cr);
  damage(left - 2, baseline - fe.ascent - 2, left + (s.size() + 1) * fe.max_x_advance + 2,
         baseline + fe.descent + 2);
}

}  // namespace corvane
