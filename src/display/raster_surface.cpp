#include "display/raster_surface.h"

#include "display/shape_cache.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {
constexpr int kTile = 64;  // damage is recorded per tile of kTile x kTile pixels

// The shape cache. Every shape starts on a pixel centre, so cairo's rasterisation of a shape
// depends only on its size relative to that first point (pen width, corner offsets, radius),
// not on where it stands: the painted pixels of a shape drawn again elsewhere are the same
// pixels moved by whole pixels. The figure draws the same few hundred shapes over and over,
// so each is rasterised by cairo once, kept as runs of pixels, and then copied.
enum class ShapeKind : std::uint32_t { Dot, Segment, Box, Circle };

// Pixel bounds of a shape relative to its anchor pixel, inclusive.
struct Extent {
  int x0, y0, x1, y1;
};

constexpr int kMaxShapeSide = 4096;  // larger shapes go to cairo directly
// Cairo's fixed-point coordinates end near 2^23 pixels: shapes anchored beyond are not drawn.
constexpr double kMaxPixel = 1 << 22;
}  // namespace

struct RasterSurface::Impl {
  std::vector<std::uint32_t> own;  // the image when no one else's pixels are attached
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0, stride = 0;  // stride in pixels
  cairo_surface_t* image = nullptr;
  cairo_t* cr = nullptr;
  int clipX0 = 0, clipX1 = 0, clipY1 = 0;  // the canvas: columns [x0, x1), rows [0, y1)
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
    penSettings(cr);
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
  // Shapes and text reach only the canvas; Cls alone paints the margins.
  void clipTo(int x0, int width, int height) {
    clipX0 = x0;
    clipX1 = x0 + width;
    clipY1 = height;
    cairo_reset_clip(cr);
    cairo_rectangle(cr, x0, 0, width, height);
    cairo_clip(cr);
  }
  void colour(Colour c) {
    cairo_set_source_rgb(cr, redOf(c) / 255.0, greenOf(c) / 255.0, blueOf(c) / 255.0);
  }

  // --- Shape cache ---
  bool cacheShapes = true;
  ShapeCache shapes;
  std::vector<std::uint32_t> scratchPx;  // cairo draws a new shape here, white on black
  cairo_surface_t* scratch = nullptr;
  cairo_t* scr = nullptr;
  int scratchW = 0, scratchH = 0;
  bool cairoDrew = false;   // cairo has drawn on the image since it was last flushed
  bool directDrew = false;  // pixels were written directly since cairo last looked

  ~Impl() {
    release();
    releaseScratch();
  }
  void releaseScratch() {
    if (scr) cairo_destroy(scr);
    if (scratch) cairo_surface_destroy(scratch);
    scr = nullptr;
    scratch = nullptr;
  }
  // No anti-aliasing, so a shape drawn again in the background colour erases it exactly.
  static void penSettings(cairo_t* c) {
    cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
  }
  // Cairo and direct writes take turns on the image; each tells the other.
  void beforeCairo() {
    if (directDrew) cairo_surface_mark_dirty(image);
    directDrew = false;
    cairoDrew = true;
  }
  void beforeDirect() {
    if (cairoDrew) cairo_surface_flush(image);
    cairoDrew = false;
    directDrew = true;
  }
  void ensureScratch(int w, int h) {
    if (w <= scratchW && h <= scratchH) return;
    releaseScratch();
    scratchW = std::max(w, scratchW);
    scratchH = std::max(h, scratchH);
    scratchPx.assign(static_cast<size_t>(scratchW) * scratchH, 0);
    scratch =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(scratchPx.data()),
                                            CAIRO_FORMAT_RGB24, scratchW, scratchH, scratchW * 4);
    scr = cairo_create(scratch);
    penSettings(scr);
    cairo_set_source_rgb(scr, 1, 1, 1);
  }

  // Lets cairo draw the shape once on the scratch image and keeps its painted pixels.
  template <class Draw>
  void rasterise(const Extent& e, const Draw& draw, std::vector<Span>& spans) {
    const int w = e.x1 - e.x0 + 1, h = e.y1 - e.y0 + 1;
    ensureScratch(w, h);
    for (int y = 0; y < h; ++y)
      std::memset(scratchPx.data() + static_cast<size_t>(y) * scratchW, 0, w * 4u);
    cairo_surface_mark_dirty(scratch);
    draw(scr, -e.x0 + 0.5, -e.y0 + 0.5);
    cairo_surface_flush(scratch);
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* row = scratchPx.data() + static_cast<size_t>(y) * scratchW;
      for (int x = 0; x < w;) {
        if ((row[x] & 0x00FFFFFF) == 0) {
          ++x;
          continue;
        }
        int end = x;
        while (end < w && (row[end] & 0x00FFFFFF) != 0)
          ++end;
        spans.push_back({static_cast<std::int16_t>(y + e.y0), static_cast<std::int16_t>(x + e.x0),
                         static_cast<std::int16_t>(end - x)});
        x = end;
      }
    }
  }

  // Paints a shape whose first point lies in pixel (ax, ay): from the cache, or with cairo
  // straight onto the image when the cache is off, the shape is new or too large to keep.
  void paint(const ShapeKey& key, int ax, int ay, const Extent& e, Colour c, const auto& draw) {
    if (cacheShapes && e.x1 - e.x0 < kMaxShapeSide && e.y1 - e.y0 < kMaxShapeSide) {
      const auto kept =
          shapes.find(key, [&](std::vector<Span>& spans) { rasterise(e, draw, spans); });
      if (kept) {
        fill(*kept, ax, ay, c);
        return;
      }
    }
    beforeCairo();
    colour(c);
    draw(cr, ax + 0.5, ay + 0.5);
  }

  void fill(std::span<const Span> spans, int ax, int ay, Colour c) {
    beforeDirect();
    const std::uint32_t v = pixelOf(c);
    for (const Span& s : spans) {
      const int y = ay + s.dy;
      if (y < 0 || y >= clipY1) continue;
      const int x0 = std::max(ax + s.x0, clipX0), x1 = std::min(ax + s.x0 + s.len, clipX1);
      if (x0 < x1)
        std::fill(pixels + static_cast<size_t>(y) * stride + x0,
                  pixels + static_cast<size_t>(y) * stride + x1, v);
    }
  }
};

RasterSurface::RasterSurface(int widthPx, int heightPx)
    : Surface(widthPx, heightPx), impl_(std::make_unique<Impl>()) {
  impl_->own_image(clientWidth(), clientHeight());
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
  paintClear(BackColor());
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::setShapeCache(bool on) {
  impl_->cacheShapes = on;
}

std::size_t RasterSurface::cachedShapes() const {
  return impl_->shapes.shapes();
}

std::size_t RasterSurface::cachedRuns() const {
  return impl_->shapes.runs();
}

bool RasterSurface::shapeCache() const {
  return impl_->cacheShapes;
}

void RasterSurface::attach(std::uint32_t* pixels, int widthPx, int heightPx, int strideBytes) {
  Surface::resize(widthPx, heightPx);
  impl_->own.clear();
  impl_->bind(pixels, widthPx, heightPx, strideBytes);
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
}

void RasterSurface::resize(int widthPx, int heightPx) {
  Surface::resize(widthPx, heightPx);
  impl_->own_image(clientWidth(), clientHeight());
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
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

void RasterSurface::paintClear(Colour c) {
  const std::uint32_t v = pixelOf(c);
  Impl& m = *impl_;
  cairo_surface_flush(m.image);
  for (int y = 0; y < m.height; ++y)
    std::fill_n(m.pixels + static_cast<size_t>(y) * m.stride, m.width, v);
  cairo_surface_mark_dirty(m.image);
  m.cairoDrew = false;
  m.directDrew = false;
  damageAll();
}

namespace {

// The pixel a user point falls in, if it is a sensible place to draw at all.
bool anchorOf(double px, double py, int& ax, int& ay) {
  if (!(std::abs(px) < kMaxPixel && std::abs(py) < kMaxPixel)) return false;
  ax = static_cast<int>(std::floor(px));
  ay = static_cast<int>(std::floor(py));
  return true;
}

std::uint32_t kindAndWidth(ShapeKind k, int w) {
  return static_cast<std::uint32_t>(k) << 16 | static_cast<std::uint32_t>(w & 0xFFFF);
}

}  // namespace

void RasterSurface::paintDot(double x, double y, Colour c) {
  int ax, ay;
  if (!anchorOf(pixelX(x), pixelY(y), ax, ay)) return;
  const int w = penPixels();
  const int m = w / 2 + 2;
  const ShapeKey key{kindAndWidth(ShapeKind::Dot, w), 0, 0, 0};
  const Extent e{-m, -m, m, m};
  damage(ax + e.x0 - 1, ay + e.y0 - 1, ax + e.x1 + 1, ay + e.y1 + 1);
  impl_->paint(key, ax, ay, e, c, [w](cairo_t* cr, double cx, double cy) {
    if (w == 1) {
      cairo_rectangle(cr, cx - 0.5, cy - 0.5, 1, 1);
    } else {
      cairo_arc(cr, cx, cy, w / 2.0, 0, 2 * M_PI);
    }
    cairo_fill(cr);
  });
}

void RasterSurface::paintSegment(double x1, double y1, double x2, double y2, Colour c) {
  int ax, ay, bx, by;
  if (!anchorOf(pixelX(x1), pixelY(y1), ax, ay) || !anchorOf(pixelX(x2), pixelY(y2), bx, by))
    return;
  const int w = penPixels();
  const int dx = bx - ax, dy = by - ay, m = w / 2 + 2;
  const ShapeKey key{kindAndWidth(ShapeKind::Segment, w), dx, dy, 0};
  const Extent e{std::min(0, dx) - m, std::min(0, dy) - m, std::max(0, dx) + m,
                 std::max(0, dy) + m};
  damage(ax + e.x0 - 1, ay + e.y0 - 1, ax + e.x1 + 1, ay + e.y1 + 1);
  impl_->paint(key, ax, ay, e, c, [w, dx, dy](cairo_t* cr, double sx, double sy) {
    cairo_set_line_width(cr, w);
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, sx + dx, sy + dy);
    cairo_stroke(cr);
  });
}

// The rectangle between the two corners' pixel centres, filled, and its border drawn with the
// pen, so a wide pen reaches half its width beyond the corners.
void RasterSurface::paintBox(double x1, double y1, double x2, double y2, Colour c) {
  int ax, ay, bx, by;
  if (!anchorOf(std::min(pixelX(x1), pixelX(x2)), std::min(pixelY(y1), pixelY(y2)), ax, ay) ||
      !anchorOf(std::max(pixelX(x1), pixelX(x2)), std::max(pixelY(y1), pixelY(y2)), bx, by))
    return;
  const int w = penPixels();
  const int bw = bx - ax, bh = by - ay, m = w / 2 + 2;
  const ShapeKey key{kindAndWidth(ShapeKind::Box, w), bw, bh, 0};
  const Extent e{-m, -m, bw + m, bh + m};
  damage(ax + e.x0 - 1, ay + e.y0 - 1, ax + e.x1 + 1, ay + e.y1 + 1);
  impl_->paint(key, ax, ay, e, c, [w, bw, bh](cairo_t* cr, double sx, double sy) {
    cairo_set_line_width(cr, w);
    cairo_rectangle(cr, sx, sy, bw, bh);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
  });
}

void RasterSurface::paintCircle(double x, double y, double radius, Colour c) {
  int ax, ay;
  const double rp = std::abs(radius) * pixelsPerUnitX();
  if (!anchorOf(pixelX(x), pixelY(y), ax, ay) || !(rp < kMaxPixel)) return;
  const int w = penPixels();
  const int m = static_cast<int>(std::ceil(rp)) + w / 2 + 2;
  std::uint64_t bits;
  std::memcpy(&bits, &rp, sizeof bits);
  const ShapeKey key{kindAndWidth(ShapeKind::Circle, w), 0, 0, bits};
  const Extent e{-m, -m, m, m};
  damage(ax + e.x0 - 1, ay + e.y0 - 1, ax + e.x1 + 1, ay + e.y1 + 1);
  impl_->paint(key, ax, ay, e, c, [w, rp](cairo_t* cr, double cx, double cy) {
    cairo_set_line_width(cr, w);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, rp, 0, 2 * M_PI);
    cairo_stroke(cr);
  });
}

void RasterSurface::paintText(double x, double y, std::string_view text, Colour c) {
  Impl& m = *impl_;
  m.beforeCairo();
  const std::string s(text);
  cairo_set_font_size(m.cr, fontPixels());
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
