// How cairo strokes one segment with a round pen and fills the outline, in its own integer
// arithmetic, so that the pixels come out the same:
// - Coordinates are 24.8 fixed point, doubles rounded to the nearest 1/256 (halves to even).
//   The segment runs from A, the anchor pixel's centre (128/256 into it), to A + 256·(dx, dy).
// - The pen is a regular polygon of n vertices on the circle of radius w/2 (the first at angle
//   0, y downwards), n the least even number, at least 4, whose sides stay within 0.1 pixel of
//   the circle.
// - The outline: both sides of the segment moved by half the pen at right angles (the offset
//   rounded once and added at both ends), each end closed by a fan of the pen's vertices that
//   lie between the two sides.
// - Filling: an edge counts in the rows from its top to its bottom, each rounded to the nearest
//   row boundary (halves down); it crosses a row at its sampling line 127/256 down, at a column
//   rounded the same way; the columns between crossings where the winding is not zero are
//   painted.
#include "display/segment_pixels.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace corvane {

namespace {

constexpr int kOne = 256;           // one pixel in fixed point
constexpr int kSampleRow = 127;     // where a row is sampled, from its top
constexpr double kTolerance = 0.1;  // how far the pen's sides may stray from its circle
constexpr int kPerRow = 6;          // crossings a row may have; more, and cairo draws it

struct FixedPoint {
  std::int32_t x, y;
};

// A direction as a fixed-point vector; directions are compared by the sign of their cross
// product, and opposite ones by which has the positive x (or y).
struct Slope {
  std::int32_t dx, dy;
};

int compare(Slope a, Slope b) {
  const std::int64_t l = static_cast<std::int64_t>(a.dy) * b.dx;
  const std::int64_t r = static_cast<std::int64_t>(b.dy) * a.dx;
  if (l != r) return l < r ? -1 : 1;
  const bool aZero = a.dx == 0 && a.dy == 0, bZero = b.dx == 0 && b.dy == 0;
  if (aZero || bZero) return aZero == bZero ? 0 : aZero ? 1 : -1;
  if ((a.dx ^ b.dx) < 0 || (a.dy ^ b.dy) < 0) return a.dx > 0 || (a.dx == 0 && a.dy > 0) ? -1 : 1;
  return 0;
}

std::int32_t toFixed(double v) {
  return static_cast<std::int32_t>(std::nearbyint(v * kOne));
}

// Rounds a fixed-point coordinate to a whole pixel, halves down.
int whole(std::int32_t v) {
  return (v + kOne / 2 - 1) >> 8;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

struct SegmentPixels::Pen {
  struct Vertex {
    FixedPoint at;
    Slope in, out;  // the sides from the vertex before and to the vertex after
  };
  std::vector<Vertex> v;

  explicit Pen(double radius) {
    int n = 4;
    if (kTolerance < radius) {
      n = static_cast<int>(std::ceil(2 * M_PI / std::acos(1 - kTolerance / radius)));
      n = std::max(4, n + n % 2);
    }
    v.resize(n);
    for (int i = 0; i < n; ++i) {
      const double t = 2 * M_PI * i / static_cast<double>(n);
      v[i].at = {toFixed(radius * std::cos(t)), toFixed(radius * std::sin(t))};
    }
    for (int i = 0; i < n; ++i) {
      const FixedPoint &before = v[(i + n - 1) % n].at, &after = v[(i + 1) % n].at;
      v[i].in = {v[i].at.x - before.x, v[i].at.y - before.y};
      v[i].out = {after.x - v[i].at.x, after.y - v[i].at.y};
    }
  }

  // The vertices of a fan turning counter-clockwise from direction `from` to `to`: from
  // `first` down to `end` (not included), found by the same binary searches as cairo's, whose
  // choices at the edges of the range the pixels depend on.
  void fan(Slope from, Slope to, int& first, int& end) const {
    const int n = static_cast<int>(v.size());
    int lo = 0, hi = n, i = n / 2;
    do {
      (compare(from, v[i].out) < 0 ? lo : hi) = i;
      i = (lo + hi) / 2;
    } while (hi - lo > 1);
    if (compare(from, v[i].out) < 0 && ++i == n) i = 0;
    first = i;
    if (compare(v[i].in, to) <= 0) {
      lo = i;
      hi = i + n;
      i = (lo + hi) / 2;
      do {
        (compare(to, v[i % n].out) > 0 ? hi : lo) = i;
        i = (lo + hi) / 2;
      } while (hi - lo > 1);
      i %= n;
    }
    end = i;
  }
};

// An edge of the outline from its top to its bottom; dir is +1 or −1 by the way the outline
// runs along it.
struct SegmentPixels::Edge {
  FixedPoint top, bottom;
  int dir;
};

SegmentPixels::SegmentPixels() = default;
SegmentPixels::~SegmentPixels() = default;

const SegmentPixels::Pen& SegmentPixels::penOf(int width) {
  while (static_cast<int>(pens_.size()) <= width)
    pens_.emplace_back(pens_.size() / 2.0);
  return pens_[width];
}

bool SegmentPixels::append(int dx, int dy, int pen, std::vector<Span>& runs) {
  if (pen < 1 || pen > kMaxPen || std::abs(dx) > kMaxReach || std::abs(dy) > kMaxReach)
    return false;
  const Pen& p = penOf(pen);
  const double half = pen / 2.0;
  edges_.clear();
  // Each run of outline points adds its edges; horizontal ones cross no row.
  std::vector<FixedPoint> line;
  const auto outline = [&](int dir) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      FixedPoint a = line[i - 1], b = line[i];
      if (a.y == b.y) continue;
      edges_.push_back(a.y < b.y ? Edge{a, b, dir} : Edge{b, a, -dir});
    }
  };
  const auto fan = [&](Slope from, Slope to, FixedPoint centre) {
    int i, end;
    p.fan(from, to, i, end);
    const int n = static_cast<int>(p.v.size());
    for (; i != end; i = (i + n - 1) % n)
      line.push_back({centre.x + p.v[i].at.x, centre.y + p.v[i].at.y});
  };
  const FixedPoint a{kOne / 2, kOne / 2};
  if (dx == 0 && dy == 0) {
    // A dot: both ends' fans about the one point, turning from an arbitrary direction.
    const Slope east{kOne, 0}, west{-kOne, 0};
    const std::int32_t off = toFixed(half);
    line.clear();
    fan(west, east, a);
    line.push_back({a.x, a.y + off});
    fan(east, west, a);
    line.push_back({a.x, a.y - off});
    line.push_back(line.front());
    outline(-1);
    return fill(edges_, runs);
  }
  const Slope along{dx * kOne, dy * kOne}, back{-along.dx, -along.dy};
  double ux = dx, uy = dy;
  if (dx == 0 || dy == 0) {
    ux = dx == 0 ? 0 : dx > 0 ? 1 : -1;
    uy = dy == 0 ? 0 : dy > 0 ? 1 : -1;
  } else {
    const double len = std::hypot(ux, uy);
    ux /= len;
    uy /= len;
  }
  const FixedPoint off{toFixed(-uy * half), toFixed(ux * half)};
  const FixedPoint left{a.x + off.x, a.y + off.y}, right{a.x - off.x, a.y - off.y};
  const FixedPoint b{a.x + along.dx, a.y + along.dy};
  const FixedPoint leftEnd{left.x + along.dx, left.y + along.dy};
  const FixedPoint rightEnd{right.x + along.dx, right.y + along.dy};
  line = {left, leftEnd};
  fan(along, back, b);
  line.push_back(rightEnd);
  outline(-1);
  line = {right};
  fan(back, along, a);
  line.push_back(left);
  outline(-1);
  line = {right, rightEnd};
  outline(1);
  return fill(edges_, runs);
}

// Fills the outline row by row. Each edge steps its crossing down the rows in whole and
// fractional parts, exactly; the crossings of a row are sorted and swept with the winding.
bool SegmentPixels::fill(const std::vector<Edge>& edges, std::vector<Span>& runs) {
  int y0 = INT_MAX, y1 = INT_MIN;
  for (const Edge& e : edges) {
    y0 = std::min(y0, whole(e.top.y));
    y1 = std::max(y1, whole(e.bottom.y));
  }
  if (y1 <= y0) return true;
  const std::size_t rows = static_cast<std::size_t>(y1 - y0);
  counts_.assign(rows, 0);
  crossings_.resize(rows * kPerRow);
  // Held in locals: the counts are bytes, whose stores could otherwise alias the members.
  std::uint8_t* const counts = counts_.data();
  Crossing* const crossings = crossings_.data();
  const auto cross = [&](int r, std::int64_t x, int dir) {
    std::uint8_t& count = counts[r - y0];
    if (count == kPerRow) return false;
    crossings[(r - y0) * kPerRow + count++] = {static_cast<std::int32_t>(x), dir};
    return true;
  };
  for (const Edge& e : edges) {
    const int top = whole(e.top.y), bottom = whole(e.bottom.y);
    if (bottom <= top) continue;
    const std::int64_t ex = e.bottom.x - e.top.x, ey = e.bottom.y - e.top.y;
    const std::int64_t start = static_cast<std::int64_t>(top) * kOne + kSampleRow - e.top.y;
    const std::int64_t q = floorDiv(start * ex, ey);
    std::int64_t x = e.top.x + q;
    if (bottom == top + 1) {  // most edges of a pen's ends: no steps to work out
      if (!cross(top, x, e.dir)) return false;
      continue;
    }
    std::int64_t rem = start * ex - q * ey - ey;  // in [−ey, 0)
    const std::int64_t stepX = floorDiv(kOne * ex, ey), stepRem = kOne * ex - stepX * ey;
    for (int r = top; r < bottom; ++r) {
      if (!cross(r, x, e.dir)) return false;
      x += stepX;
      rem += stepRem;
      if (rem >= 0) {
        ++x;
        rem -= ey;
      }
    }
  }
  const std::size_t before = runs.size();
  runs.reserve(before + rows);
  std::size_t r = 0;
  const auto run = [&](int from, int to) {
    if (to > from)
      runs.push_back({static_cast<std::int16_t>(static_cast<int>(r) + y0),
                      static_cast<std::int16_t>(from), static_cast<std::int16_t>(to - from)});
  };
  for (; r < rows; ++r) {
    Crossing* c = &crossings[r * kPerRow];
    const int n = counts[r];
    if (n == 2) {  // most rows: the two sides, in either order
      if (c[0].dir + c[1].dir != 0) break;
      run(whole(std::min(c[0].x, c[1].x)), whole(std::max(c[0].x, c[1].x)));
      continue;
    }
    for (int i = 1; i < n; ++i)  // insertion sort, keeping equal crossings in edge order
      for (int j = i; j > 0 && c[j].x < c[j - 1].x; --j)
        std::swap(c[j], c[j - 1]);
    int winding = 0, from = INT_MIN;
    for (int k = 0; k < n; ++k) {
      const int to = whole(c[k].x);
      winding += c[k].dir;
      if (winding == 0) {
        if (k + 1 < n && whole(c[k + 1].x) <= to + 1) continue;  // joins the next run
        run(from, to);
        from = INT_MIN;
      } else if (from == INT_MIN) {
        from = to;
      }
    }
    if (winding != 0) break;
  }
  if (r < rows) {  // an outline that does not close: cairo draws it
    runs.resize(before);
    return false;
  }
  return true;
}

}  // namespace corvane
