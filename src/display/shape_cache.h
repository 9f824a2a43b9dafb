// The raster surface's shape cache: the pixels cairo paints for a shape, kept as runs and
// copied wherever the same shape is drawn again, pixel for pixel what cairo would paint there.
//
// Why it works. Every shape starts on a pixel centre and is painted without anti-aliasing, so
// which pixels cairo paints depends only on the shape relative to that first point: its kind,
// the pen in pixels and its size in whole pixels (a segment's far end, a box's size, a circle's
// radius). That is the key. Moved by whole pixels, a shape paints the same pixels moved by the
// same amount. Colour is not in the key: without anti-aliasing a pixel is painted fully or not
// at all, so the set of pixels is the same in every colour and only the value written differs.
//
// Limits.
// - Only shapes wholly inside the window are copied: cairo clips a shape that crosses an edge,
//   so its pixels there need not be those of the shape drawn whole. Those, and shapes beyond
//   the size limits below, are painted by cairo every time.
// - A run holds its row, first column and length relative to the anchor in 16 bits each, so a
//   shape reaches at most kMaxSide pixels from its anchor in any direction.
// - A new segment's runs are worked out as cairo would paint them (segment_pixels.h); other
//   shapes, and segments beyond the range checked there, are rasterised by cairo on a scratch
//   image of at most kScratchPixels pixels (4 MiB). A shape whose extent needs more is
//   painted by cairo every time.
// - Memory: the slot table (2.5 MiB), the run pool (16 MiB) and the scratch image (4 MiB) are
//   taken whole the first time, so the process's size stays flat as shapes come and go: about
//   23 MiB in all. When either fills up, everything is forgotten and the cache starts anew.
//   The pool is sized for the graph views' area lines under the automatic change at
//   1920x1080: some 24 000 segments (3.6 million rows) recur as speed and load wander, and a
//   pool that held only a pass or two forgot them before they came again.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// Cairo's types, declared as cairo.h declares them: only the raster surface's files include cairo.
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace corvane {

enum class ShapeKind : std::uint32_t { Dot, Segment, Box, Circle };

// What makes two shapes paint the same pixels relative to their anchor pixel.
struct ShapeKey {
  std::uint32_t kindAndPen;  // kind in the high 16 bits, pen width in pixels in the low 16
  std::int32_t a, b;         // segment: far end; box: size; in pixels from the anchor
  std::uint64_t radius;      // circle: the bits of its radius in pixels
  bool operator==(const ShapeKey&) const = default;

  static ShapeKey dot(int pen);
  static ShapeKey segment(int pen, int dx, int dy);
  static ShapeKey box(int pen, int width, int height);
  static ShapeKey circle(int pen, double radiusPx);

  ShapeKind kind() const { return static_cast<ShapeKind>(kindAndPen >> 16); }
  int pen() const { return static_cast<int>(kindAndPen & 0xFFFF); }
  double radiusPx() const;
};

// Pixel bounds of a shape relative to its anchor pixel, inclusive, with a margin of two pixels
// beyond what the pen can reach.
struct Extent {
  int x0, y0, x1, y1;
};
Extent extentOf(const ShapeKey& key);

// The pen every shape is drawn with: round, and without anti-aliasing, so that a shape drawn
// again in the background colour erases it exactly.
void penSettings(cairo_t* cr);

// Draws the shape with cairo in the current source, its first point at (x, y): the pixel centre
// of its anchor.
void traceShape(cairo_t* cr, const ShapeKey& key, double x, double y);

// A run of painted pixels: row dy and first column x0 relative to the shape's anchor pixel.
struct Span {
  std::int16_t dy, x0, len;
};

// A kept shape's runs in row order, each field in an array of its own so that runs can be
// taken eight at a time. Dense: one run in each row, row after row from dy0, as every
// segment's; such a shape keeps no rows (dy is null). The arrays lie in the cache's pool: good
// until the next find, which may start the pool anew.
struct Runs {
  const std::int16_t *dy, *x0, *len;
  std::size_t size;
  int dy0;  // the first run's row
  bool dense() const { return dy == nullptr; }
};

class SegmentPixels;

class ShapeCache {
 public:
  // Widest pen and farthest reach from the anchor that a kept shape may have.
  static constexpr int kMaxSide = 4096;
  // A run lies within the extent: half the pen and two pixels beyond the reach each way.
  static_assert(2 * (kMaxSide + kMaxSide / 2 + 2) + 1 <= std::numeric_limits<std::int16_t>::max(),
                "runs hold row, column and length in 16 bits");
  static_assert(kMaxSide <= 0xFFFF, "the key holds the pen in 16 bits");
  static constexpr std::size_t kScratchPixels = 1 << 20;

  // How many shapes and runs it keeps before it starts anew: the table's slots (a power of
  // two, three quarters of which may hold shapes) and the pool's values (two or three a run).
  struct Limits {
    std::size_t slots = 1 << 16;
    std::size_t poolValues = 1 << 23;
  };

  ShapeCache();
  explicit ShapeCache(Limits limits);
  ~ShapeCache();
  ShapeCache(const ShapeCache&) = delete;
  ShapeCache& operator=(const ShapeCache&) = delete;

  // Whether a shape anchored at (ax, ay) may be copied at all, into an area of width x height
  // pixels: within the size limits and wholly inside.
  static bool fits(const ShapeKey& key, int ax, int ay, int width, int height);

  // The runs of a shape that fits: the first time it is met, cairo rasterises it on the scratch
  // image, which costs little more than drawing it on the picture, and its runs are kept.
  Runs find(const ShapeKey& key);

  std::size_t shapes() const { return used_; }
  std::size_t runs() const { return runs_; }

 private:
  enum class State : std::uint8_t { Empty, New, Kept };
  struct Slot {
    ShapeKey key;
    std::uint32_t first = 0, count = 0;  // the shape's runs in the pool
    std::int16_t dy0 = 0;                // a dense shape's first row, which it keeps
    State state = State::Empty;
    bool dense = false;
  };

  Slot& slotFor(const ShapeKey& key);  // its slot, or the empty one where it would go
  void reset();
  void keep(Slot& slot);
  void rasterise(const ShapeKey& key, std::vector<Span>& runs);
  void ensureScratch(int w, int h);
  void releaseScratch();

  // The engine view keeps under a thousand shapes and 60 000 runs; the default limits leave
  // room for the graph views' lines that recur from one operating point to the next.
  const Limits limits_;
  std::vector<Slot> slots_;
  // The runs: for each shape its rows (unless dense), then its first columns, then its
  // lengths, so that a shape's runs lie together as they are read.
  std::vector<std::int16_t> pool_;
  std::vector<Span> fresh_;
  std::size_t used_ = 0, runs_ = 0;

  std::unique_ptr<SegmentPixels> segments_;  // a new segment's runs, mostly without cairo

  // Cairo draws a new shape here, white on black; every pixel is black between shapes.
  std::vector<std::uint32_t> scratchPx_;
  cairo_surface_t* scratch_ = nullptr;
  cairo_t* scr_ = nullptr;
  int scratchW_ = 0, scratchH_ = 0;
};

}  // namespace corvane
