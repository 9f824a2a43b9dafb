// The shape cache: its keys, how cairo draws each shape, how a new shape's runs are read off the
// scratch image, and the table that keeps them.
#include "display/shape_cache.h"

#include "display/segment_pixels.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace corvane {

namespace {

std::uint32_t packKindAndPen(ShapeKind k, int pen) {
  return static_cast<std::uint32_t>(k) << 16 | static_cast<std::uint32_t>(pen & 0xFFFF);
}

std::size_t hashOf(const ShapeKey& k) {
  std::uint64_t h = k.kindAndPen * 0x9E3779B97F4A7C15ull;
  h ^= (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.a)) << 32 |
        static_cast<std::uint32_t>(k.b)) +
       0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  h ^= k.radius + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h ^ (h >> 29));
}

// The columns of each row (from the anchor) that may hold pixels of a segment from the anchor
// to (dx, dy) with a round pen of half-width r: the points within reach r + 1 of the segment,
// an outline that holds cairo's with room to spare. A row meets this convex outline in one
// interval, the hull of where it meets the two end discs and the band between them.
class SegmentColumns {
 public:
  SegmentColumns(int dx, int dy, double r) : dx_(dx), dy_(dy), reach_(r + 1) {
    const double len2 = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
    if (dy != 0) {
      xPerRow_ = static_cast<double>(dx) / dy;
      halfBand_ = reach_ * std::sqrt(len2) / std::abs(dy);
    }
    if (dx != 0) {
      cutPerRow_ = -static_cast<double>(dy) / dx;  // the perpendiculars through the ends
      farCut_ = len2 / dx;
    }
  }

  std::pair<double, double> at(int y) const {
    double lo = INFINITY, hi = -INFINITY;
    const auto take = [&](double a, double b) {
      lo = std::min(lo, a);
      hi = std::max(hi, b);
    };
    for (const auto& [ex, ey] : {std::pair{0, 0}, std::pair{dx_, dy_}}) {
      const double off = y - ey;
      if (std::abs(off) <= reach_) {
        const double half = std::sqrt(reach_ * reach_ - off * off);
        take(ex - half, ex + half);
      }
    }
    if (dy_ == 0) return {lo, hi};
    double a = y * xPerRow_ - halfBand_, b = y * xPerRow_ + halfBand_;
    if (dx_ != 0) {
      const double c0 = y * cutPerRow_, c1 = farCut_ + c0;
      a = std::max(a, std::min(c0, c1));
      b = std::min(b, std::max(c0, c1));
    } else if (y < std::min(0, dy_) || y > std::max(0, dy_)) {
      return {lo, hi};
    }
    if (a <= b) take(a, b);
    return {lo, hi};
  }

 private:
  int dx_, dy_;
  double reach_;
  double xPerRow_ = 0, halfBand_ = 0, cutPerRow_ = 0, farCut_ = 0;
};

}  // namespace

void penSettings(cairo_t* cr) {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

ShapeKey ShapeKey::dot(int pen) {
  return {packKindAndPen(ShapeKind::Dot, pen), 0, 0, 0};
}
ShapeKey ShapeKey::segment(int pen, int dx, int dy) {
  return {packKindAndPen(ShapeKind::Segment, pen), dx, dy, 0};
}
ShapeKey ShapeKey::box(int pen, int width, int height) {
  return {packKindAndPen(ShapeKind::Box, pen), width, height, 0};
}
ShapeKey ShapeKey::circle(int pen, double radiusPx) {
  std::uint64_t bits;
  std::memcpy(&bits, &radiusPx, sizeof bits);
  return {packKindAndPen(ShapeKind::Circle, pen), 0, 0, bits};
}
double ShapeKey::radiusPx() const {
  double r;
  std::memcpy(&r, &radius, sizeof r);
  return r;
}

Extent extentOf(const ShapeKey& key) {
  const int m = key.pen() / 2 + 2;
  switch (key.kind()) {
    case ShapeKind::Segment:
      return {std::min(0, key.a) - m, std::min(0, key.b) - m, std::max(0, key.a) + m,
              std::max(0, key.b) + m};
    case ShapeKind::Box:
      return {-m, -m, key.a + m, key.b + m};
    case ShapeKind::Circle: {
      const int c = static_cast<int>(std::ceil(key.radiusPx())) + m;
      return {-c, -c, c, c};
    }
    case ShapeKind::Dot:
      break;
  }
  return {-m, -m, m, m};
}

void traceShape(cairo_t* cr, const ShapeKey& key, double x, double y) {
  const int w = key.pen();
  cairo_set_line_width(cr, w);
  switch (key.kind()) {
    case ShapeKind::Dot:
      if (w == 1) {
        cairo_rectangle(cr, x - 0.5, y - 0.5, 1, 1);
      } else {
        cairo_arc(cr, x, y, w / 2.0, 0, 2 * M_PI);
      }
      cairo_fill(cr);
      break;
    case ShapeKind::Segment:
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + key.a, y + key.b);
      cairo_stroke(cr);
      break;
    case ShapeKind::Box:
      cairo_rectangle(cr, x, y, key.a, key.b);
      cairo_fill_preserve(cr);
      cairo_stroke(cr);
      break;
    case ShapeKind::Circle:
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, y, key.radiusPx(), 0, 2 * M_PI);
      cairo_stroke(cr);
      break;
  }
}

ShapeCache::ShapeCache() : ShapeCache(Limits{}) {}

ShapeCache::ShapeCache(Limits limits)
    : limits_(limits), segments_(std::make_unique<SegmentPixels>()) {}

ShapeCache::~ShapeCache() {
  releaseScratch();
}

bool ShapeCache::fits(const ShapeKey& key, int ax, int ay, int width, int height) {
  if (key.pen() > kMaxSide || std::abs(key.a) > kMaxSide || std::abs(key.b) > kMaxSide ||
      !(key.radiusPx() < kMaxSide))
    return false;
  const Extent e = extentOf(key);
  const std::size_t w = e.x1 - e.x0 + 1, h = e.y1 - e.y0 + 1;
  return w * h <= kScratchPixels && ax + e.x0 >= 0 && ay + e.y0 >= 0 && ax + e.x1 < width &&
         ay + e.y1 < height;
}

Runs ShapeCache::find(const ShapeKey& key) {
  if (slots_.empty()) reset();
  Slot* slot = &slotFor(key);
  if (slot->state == State::Empty) {
    if (used_ >= limits_.slots * 3 / 4) {
      reset();
      slot = &slotFor(key);
    }
    slot->key = key;
    slot->state = State::New;
    ++used_;
  }
  if (slot->state == State::New) {
    fresh_.clear();
    rasterise(key, fresh_);
    if (pool_.size() + 3 * fresh_.size() > limits_.poolValues) {
      reset();
      slot = &slotFor(key);
      slot->key = key;
      ++used_;
    }
    keep(*slot);
  }
  const std::int16_t* const at = pool_.data() + slot->first;
  const std::size_t n = slot->count;
  if (slot->dense) return {nullptr, at, at + n, n, slot->dy0};
  return {at, at + n, at + 2 * n, n, 0};
}

// Moves the fresh runs into the pool: rows (only if they do not simply follow one another),
// first columns, lengths.
void ShapeCache::keep(Slot& slot) {
  const std::size_t n = fresh_.size();
  bool dense = true;
  for (std::size_t i = 0; i < n; ++i)
    dense &= fresh_[i].dy == fresh_[0].dy + static_cast<int>(i);
  slot.first = static_cast<std::uint32_t>(pool_.size());
  slot.count = static_cast<std::uint32_t>(n);
  slot.state = State::Kept;
  slot.dense = dense;
  slot.dy0 = n > 0 ? fresh_[0].dy : 0;
  runs_ += n;
  if (!dense)
    for (const Span& s : fresh_)
      pool_.push_back(s.dy);
  for (const Span& s : fresh_)
    pool_.push_back(s.x0);
  for (const Span& s : fresh_)
    pool_.push_back(s.len);
}

// Open addressing with linear probing; the table is never more than three quarters full.
ShapeCache::Slot& ShapeCache::slotFor(const ShapeKey& key) {
  const std::size_t mask = limits_.slots - 1;
  for (std::size_t i = hashOf(key) & mask;; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (s.state == State::Empty || s.key == key) return s;
  }
}

// Forgets every shape. The memory is taken whole the first time, so that the process's
// resident size does not creep up as the cache fills.
void ShapeCache::reset() {
  slots_.assign(limits_.slots, Slot{});
  if (pool_.capacity() < limits_.poolValues) pool_.resize(limits_.poolValues);
  pool_.clear();
  used_ = 0;
  runs_ = 0;
}

// A segment's runs as cairo would paint them; for other shapes, or a segment beyond that
// range, cairo draws the shape on the black scratch image in white and its runs are read. Only
// the columns the shape can reach are read, and set black again, so that a long thin segment
// costs its length rather than its bounding box.
void ShapeCache::rasterise(const ShapeKey& key, std::vector<Span>& runs) {
  if (key.kind() == ShapeKind::Segment && segments_->append(key.a, key.b, key.pen(), runs)) return;
  const Extent e = extentOf(key);
  const int w = e.x1 - e.x0 + 1, h = e.y1 - e.y0 + 1;
  ensureScratch(w, h);
  cairo_surface_mark_dirty(scratch_);
  traceShape(scr_, key, -e.x0 + 0.5, -e.y0 + 0.5);
  cairo_surface_flush(scratch_);
  const bool segment = key.kind() == ShapeKind::Segment;
  const SegmentColumns columns(key.a, key.b, key.pen() / 2.0);
  for (int y = e.y0; y <= e.y1; ++y) {
    int from = 0, to = w;  // scratch columns of this row to read
    if (segment) {
      const auto [lo, hi] = columns.at(y);
      if (!(lo <= hi)) continue;
      from = std::clamp(static_cast<int>(std::floor(lo)) - e.x0, 0, w);
      to = std::clamp(static_cast<int>(std::ceil(hi)) + 1 - e.x0, from, w);
    }
    std::uint32_t* row = scratchPx_.data() + static_cast<std::size_t>(y - e.y0) * scratchW_;
    for (int x = from; x < to;) {
      if ((row[x] & 0x00FFFFFF) == 0) {
        ++x;
        continue;
      }
      int end = x;
      while (end < to && (row[end] & 0x00FFFFFF) != 0)
        ++end;
      runs.push_back({static_cast<std::int16_t>(y), static_cast<std::int16_t>(x + e.x0),
                      static_cast<std::int16_t>(end - x)});
      x = end;
    }
    std::fill(row + from, row + to, 0u);
  }
}

// A scratch image that holds w x h pixels, black, over one buffer of kScratchPixels taken
// whole the first time: a larger shape only lays a wider or taller image over it. Every
// rasterise leaves what it read black again.
void ShapeCache::ensureScratch(int w, int h) {
  if (w <= scratchW_ && h <= scratchH_) return;
  releaseScratch();
  int nw = std::max(w, scratchW_), nh = std::max(h, scratchH_);
  if (static_cast<std::size_t>(nw) * nh > kScratchPixels) {
    nw = w;
    nh = h;
  }
  scratchW_ = nw;
  scratchH_ = nh;
  if (scratchPx_.empty()) scratchPx_.assign(kScratchPixels, 0);
  scratch_ = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(scratchPx_.data()), CAIRO_FORMAT_RGB24, nw, nh, nw * 4);
  scr_ = cairo_create(scratch_);
  penSettings(scr_);
  cairo_set_source_rgb(scr_, 1, 1, 1);
}

void ShapeCache::releaseScratch() {
  if (scr_) cairo_destroy(scr_);
  if (scratch_) cairo_surface_destroy(scratch_);
  scr_ = nullptr;
  scratch_ = nullptr;
}

}  // namespace corvane
