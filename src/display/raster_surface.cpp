#include "display/raster_surface.h"

#include "display/pending_rows.h"
#include "display/shape_cache.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>

namespace corvane {

namespace {
constexpr int kTile = TileDamage::kTile;
// Cairo's fixed-point coordinates end near 2^23 pixels: shapes anchored beyond are not drawn.
constexpr double kMaxPixel = 1 << 22;
// Cairo writes the unused top byte of its 32-bit pixels as 0xFF; so does every direct write.
constexpr std::uint32_t kTopByte = 0xFF000000;

// The text's font: Comic Neue read from its file by FreeType, the same file in the window and
// in the browser, so that both draw the same pixels. Each face has a FreeType library of its
// own, released with the face when cairo lets go of it (cairo keeps faces in its caches for a
// while after the last surface has dropped them).
struct FontFile {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

void releaseFont(void* data) {
  auto* f = static_cast<FontFile*>(data);
  if (f->face) FT_Done_Face(f->face);
  if (f->library) FT_Done_FreeType(f->library);
  delete f;
}

// The font face from the file, or nullptr if the file cannot be read.
cairo_font_face_t* loadFontFace() {
  auto* f = new FontFile;
  if (FT_Init_FreeType(&f->library) != 0 ||
      FT_New_Face(f->library, CORVANE_FONT_FILE, 0, &f->face) != 0) {
    releaseFont(f);
    return nullptr;
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(f->face, 0);
  static const cairo_user_data_key_t kKey{};
  if (cairo_font_face_set_user_data(face, &kKey, f, releaseFont) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    releaseFont(f);
    return nullptr;
  }
  return face;
}
}  // namespace

struct RasterSurface::Impl {
  std::vector<std::uint32_t> own;  // the image when no one else's pixels are attached
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0, stride = 0;  // stride in pixels
  cairo_surface_t* image = nullptr;
  cairo_t* cr = nullptr;
  cairo_font_face_t* font = loadFontFace();
  int clipX0 = 0, clipX1 = 0, clipY1 = 0;  // the canvas: columns [x0, x1), rows [0, y1)
  TileDamage damage;

  bool cacheShapes = true;
  bool forCanvas = false;  // red and blue traded in what is stored
  ShapeCache shapes;
  bool cairoDrew = false;   // cairo has drawn on the image since it was last flushed
  bool directDrew = false;  // pixels were written directly since cairo last looked
  // The runs of shapes from the cache, written when something else is drawn, when the
  // picture is read and when the damage is taken; held-back rows mark their own damage.
  PendingRows pending{damage};
  // The last shapes copied from the cache, newest first, since anything else was painted;
  // all in one colour, so painting one of them again at its place changes no pixel. The time
  // view's area lines stand less than a pixel apart: a line is often the one before it or,
  // where two graphs are erased in turn, the one before that.
  struct Painted {
    ShapeKey key;
    int ax, ay;
  };
  std::array<Painted, 2> recent{};
  int recentCount = 0;
  Colour recentColour = 0;

  ~Impl() {
    release();
    if (font) cairo_font_face_destroy(font);
  }

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
    // Every font option is set here, none left to the system's defaults, so that the
    // browser's text matches the window's.
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_subpixel_order(fo, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_set_font_options(cr, fo);
    cairo_font_options_destroy(fo);
    if (font) {
      cairo_set_font_face(cr, font);
    } else {
      // Without the file, whatever the system offers under the font's name.
      cairo_select_font_face(cr, "Comic Sans MS", CAIRO_FONT_SLANT_NORMAL,
                             CAIRO_FONT_WEIGHT_NORMAL);
    }
    damage.bind(w, h);
    recentCount = 0;
    cairoDrew = false;
    directDrew = false;
    pending.bind(px, stride, h);  // the old pixels may be gone already: it goes with them
  }
  void release() {
    if (cr) cairo_destroy(cr);
    if (image) cairo_surface_destroy(image);
    cr = nullptr;
    image = nullptr;
  }
  void own_image(int w, int h) {
    std::vector<std::uint32_t> fresh(static_cast<size_t>(w) * h, kTopByte);
    bind(fresh.data(), w, h, w * 4);
    own.swap(fresh);  // the old image goes only once cairo has let go of it
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
  // The colour as stored: red and blue traded for a canvas's byte order.
  Colour stored(Colour c) const {
    return forCanvas ? (c & 0x00FF00) | (c >> 16 & 0xFF) | (c & 0xFF) << 16 : c;
  }
  void colour(Colour c) {
    const Colour s = stored(c);
    cairo_set_source_rgb(cr, redOf(s) / 255.0, greenOf(s) / 255.0, blueOf(s) / 255.0);
  }

  // Cairo and direct writes take turns on the image; each tells the other.
  void beforeCairo() {
    recentCount = 0;
    pending.write();
    if (directDrew) cairo_surface_mark_dirty(image);
    directDrew = false;
    cairoDrew = true;
  }
  void beforeDirect() {
    if (cairoDrew) cairo_surface_flush(image);
    cairoDrew = false;
    directDrew = true;
  }

  // Whether the shape is one of the recent ones, in their colour; else it becomes the newest.
  bool paintedAlready(const ShapeKey& key, int ax, int ay, Colour c) {
    if (c != recentColour) {
      recentCount = 0;
      recentColour = c;
    }
    for (int k = 0; k < recentCount; ++k)
      if (recent[k].ax == ax && recent[k].ay == ay && recent[k].key == key) return true;
    recent[1] = recent[0];
    recent[0] = {key, ax, ay};
    recentCount = std::min(recentCount + 1, 2);
    return false;
  }

  // Paints a shape whose first point lies in pixel (ax, ay): from the cache when it lies wholly
  // inside the canvas, else with cairo straight onto the image, which clips it to the canvas.
  // True if its runs are held back, to mark their damage as they are written.
  bool paint(const ShapeKey& key, int ax, int ay, Colour c) {
    if (cacheShapes && width <= PendingRows::kMaxWidth &&
        ShapeCache::fits(key, ax - clipX0, ay, clipX1 - clipX0, clipY1)) {
      if (paintedAlready(key, ax, ay, c)) {
        pending.note(ax, ay);
        return true;
      }
      beforeDirect();
      return pending.add(shapes.find(key), ax, ay, pixelOf(stored(c)) | kTopByte);
    }
    beforeCairo();
    colour(c);
    traceShape(cr, key, ax + 0.5, ay + 0.5);
    return false;
  }
};

RasterSurface::RasterSurface(int widthPx, int heightPx)
    : Surface(widthPx, heightPx), impl_(std::make_unique<Impl>()) {
  impl_->own_image(clientWidth(), clientHeight());
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
  paintClear(BackColor());
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::storeForCanvas(bool on) {
  impl_->forCanvas = on;
  impl_->recentCount = 0;
}

void RasterSurface::setShapeCache(bool on) {
  impl_->cacheShapes = on;
}

std::size_t RasterSurface::cachedShapes() const {
  return impl_->shapes.shapes();
}

std::size_t RasterSurface::cachedRuns() const {
  return impl_->shapes.runs();
}

void RasterSurface::attach(std::uint32_t* pixels, int widthPx, int heightPx, int strideBytes) {
  Surface::resize(widthPx, heightPx);
  impl_->bind(pixels, widthPx, heightPx, strideBytes);
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
  std::vector<std::uint32_t>().swap(impl_->own);
}

void RasterSurface::resize(int widthPx, int heightPx) {
  Surface::resize(widthPx, heightPx);
  impl_->own_image(clientWidth(), clientHeight());
  impl_->clipTo(canvasLeft(), canvasWidth(), canvasHeight());
  paintClear(BackColor());
}

// Reading the picture writes what is held back first.
std::uint32_t RasterSurface::pixel(int x, int y) const {
  impl_->pending.write();
  return impl_->pixels[static_cast<size_t>(y) * impl_->stride + x] & 0x00FFFFFF;
}

const std::uint32_t* RasterSurface::row(int y) const {
  impl_->pending.write();
  return impl_->pixels + static_cast<size_t>(y) * impl_->stride;
}

std::vector<std::uint32_t> RasterSurface::snapshot() const {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<size_t>(impl_->width) * impl_->height);
  for (int y = 0; y < impl_->height; ++y)
    out.insert(out.end(), row(y), row(y) + impl_->width);
  return out;
}

bool RasterSurface::writePng(const std::string& path) const {
  impl_->pending.write();
  cairo_surface_flush(impl_->image);
  return cairo_surface_write_to_png(impl_->image, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void RasterSurface::damage(double x0, double y0, double x1, double y1) {
  // Far outside, a coordinate only needs to stay outside once it is an int.
  auto px = [](double v) { return static_cast<int>(std::clamp(std::floor(v), -1e9, 1e9)); };
  impl_->damage.mark(px(std::min(x0, x1)), px(std::min(y0, y1)), px(std::max(x0, x1)),
                     px(std::max(y0, y1)));
}

bool RasterSurface::hasDamage() const {
  return impl_->damage.any();
}

void RasterSurface::damageAll() {
  impl_->damage.markAll();
}

std::vector<PixelRect> RasterSurface::takeDamage() {
  impl_->pending.write();
  return impl_->damage.take();
}

void RasterSurface::paintClear(Colour c) {
  Impl& m = *impl_;
  const std::uint32_t v = pixelOf(m.stored(c)) | kTopByte;
  cairo_surface_flush(m.image);
  for (int y = 0; y < m.height; ++y)
    std::fill_n(m.pixels + static_cast<size_t>(y) * m.stride, m.width, v);
  cairo_surface_mark_dirty(m.image);
  m.cairoDrew = false;
  m.directDrew = false;
  m.recentCount = 0;
  m.pending.drop();  // cleared over in any case
  damageAll();
}

namespace {

// The whole number at or below v, for |v| < 2^31: truncation, one less below zero where it
// rounded up. std::floor costs a dozen instructions where the processor has no rounding
// instruction of its own (plain x86-64), and every shape needs two or four.
int floorOf(double v) {
  const int i = static_cast<int>(v);
  return i - (v < i);
}

// The pixel a user point falls in, if it is a sensible place to draw at all.
bool anchorOf(double px, double py, int& ax, int& ay) {
  if (!(std::abs(px) < kMaxPixel && std::abs(py) < kMaxPixel)) return false;
  ax = floorOf(px);
  ay = floorOf(py);
  return true;
}

}  // namespace

// The damage of a shape: its extent and a pixel more.
void RasterSurface::damageShape(const ShapeKey& key, int ax, int ay) {
  const Extent e = extentOf(key);
  damage(ax + e.x0 - 1, ay + e.y0 - 1, ax + e.x1 + 1, ay + e.y1 + 1);
}

void RasterSurface::paintDot(double x, double y, Colour c) {
  int ax, ay;
  if (!anchorOf(pixelX(x), pixelY(y), ax, ay)) return;
  const ShapeKey key = ShapeKey::dot(penPixels());
  if (!impl_->paint(key, ax, ay, c)) damageShape(key, ax, ay);
}

void RasterSurface::paintSegment(double x1, double y1, double x2, double y2, Colour c) {
  int ax, ay, bx, by;
  if (!anchorOf(pixelX(x1), pixelY(y1), ax, ay) || !anchorOf(pixelX(x2), pixelY(y2), bx, by))
    return;
  const ShapeKey key = ShapeKey::segment(penPixels(), bx - ax, by - ay);
  if (!impl_->paint(key, ax, ay, c)) damageSegment(ax, ay, bx, by);
}

// The damage of a segment: in each tile row, only the tiles that the segment crosses there,
// widened by half the pen and a pixel more. A connecting rod or a lift curve runs diagonally
// through many tiles of its extent that it never touches; a segment within three tiles across
// or down is given its extent, which is then hardly larger.
void RasterSurface::damageSegment(int ax, int ay, int bx, int by) {
  const int margin = penPixels() / 2 + 2;
  if (ay > by) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  const long long dx = bx - ax, dy = by - ay;
  if (dy <= 3 * kTile || std::abs(dx) <= 3 * kTile) {
    impl_->damage.mark(std::min(ax, bx) - margin, ay - margin, std::max(ax, bx) + margin,
                       by + margin);
    return;
  }
  const int rowFirst = std::max(ay - margin, 0) / kTile;
  const int rowLast = std::min(by + margin, impl_->height - 1) / kTile;
  for (int row = rowFirst; row <= rowLast; ++row) {
    // Where the segment is over the rows that can reach this tile row.
    const int ya = std::clamp(row * kTile - margin, ay, by);
    const int yb = std::clamp(row * kTile + kTile - 1 + margin, ay, by);
    const auto xa = static_cast<int>(ax + dx * (ya - ay) / dy);
    const auto xb = static_cast<int>(ax + dx * (yb - ay) / dy);
    impl_->damage.mark(std::min(xa, xb) - margin - 1, row * kTile, std::max(xa, xb) + margin + 1,
                       row * kTile + kTile - 1);
  }
}

// The rectangle between the two corners' pixel centres, filled, and its border drawn with the
// pen, so a wide pen reaches half its width beyond the corners.
void RasterSurface::paintBox(double x1, double y1, double x2, double y2, Colour c) {
  int ax, ay, bx, by;
  if (!anchorOf(std::min(pixelX(x1), pixelX(x2)), std::min(pixelY(y1), pixelY(y2)), ax, ay) ||
      !anchorOf(std::max(pixelX(x1), pixelX(x2)), std::max(pixelY(y1), pixelY(y2)), bx, by))
    return;
  const ShapeKey key = ShapeKey::box(penPixels(), bx - ax, by - ay);
  if (!impl_->paint(key, ax, ay, c)) damageShape(key, ax, ay);
}

void RasterSurface::paintCircle(double x, double y, double radius, Colour c) {
  int ax, ay;
  const double rp = std::abs(radius) * pixelsPerUnitX();
  if (!anchorOf(pixelX(x), pixelY(y), ax, ay) || !(rp < kMaxPixel)) return;
  const ShapeKey key = ShapeKey::circle(penPixels(), rp);
  if (!impl_->paint(key, ax, ay, c)) damageShape(key, ax, ay);
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
