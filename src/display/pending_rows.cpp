#include "display/pending_rows.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {

constexpr std::int16_t kNone0 = INT16_MAX, kNone1 = INT16_MIN;  // an empty interval
// How far apart, in pixels along a row, a shape's anchor and one of the two before it may be
// for it to join the rows: the graph views' area lines stand on one row, two pixels apart at
// most. Only from the fifth such shape in a row on: the engine view has short series (a rod's
// lines side by side) whose joining would cost more than it saves.
constexpr int kNear = 2;
constexpr int kStreak = 4;

// Eight columns at once; where the target has no vector unit, the compiler does them in turn.
using Lanes = std::int16_t __attribute__((vector_size(16)));
constexpr std::size_t kLanes = 8;

Lanes load(const std::int16_t* p) {
  Lanes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
void store(std::int16_t* p, Lanes v) {
  std::memcpy(p, &v, sizeof v);
}
bool all(Lanes mask) {
  std::uint64_t half[2];
  std::memcpy(half, &mask, sizeof half);
  return (half[0] & half[1]) == ~std::uint64_t{0};
}
Lanes pick(Lanes mask, Lanes a, Lanes b) {
  return (a & mask) | (b & ~mask);
}

// Most runs written are a few pixels long (a pen's width across a line): two overlapping
// stores of two or four pixels rather than pixel by pixel.
void writeRun(std::uint32_t* p, int len, std::uint32_t value) {
  const std::uint64_t two = std::uint64_t{value} << 32 | value;
  const std::uint64_t four[2] = {two, two};
  if (len >= 4 && len <= 8) {
    std::memcpy(p, four, sizeof four);
    std::memcpy(p + len - 4, four, sizeof four);
  } else if (len >= 2 && len < 4) {
    std::memcpy(p, &two, sizeof two);
    std::memcpy(p + len - 2, &two, sizeof two);
  } else {
    std::fill_n(p, len, value);
  }
}

}  // namespace

void PendingRows::bind(std::uint32_t* pixels, int strideInPixels, int rows) {
  pixels_ = pixels;
  stride_ = strideInPixels;
  x0_.assign(rows, kNone0);
  x1_.assign(rows, kNone1);
  y0_ = INT_MAX;
  y1_ = INT_MIN;
}

void PendingRows::drop() {
  for (int y = y0_; y <= y1_; ++y) {
    x0_[y] = kNone0;
    x1_[y] = kNone1;
  }
  y0_ = INT_MAX;
  y1_ = INT_MIN;
}

void PendingRows::write() {
  for (int y = y0_; y <= y1_; ++y)
    if (x0_[y] < x1_[y]) writeHeld(y, x0_[y], x1_[y]);
  drop();
}

// A row's interval goes to the picture, and its tiles to the damage: a row of a series marks
// once what its lines, each a band across many rows, would have marked each again.
void PendingRows::writeHeld(int y, int x0, int x1) {
  writeRun(row(y) + x0, x1 - x0, value_);
  damage_.mark(x0, y, x1 - 1, y);
}

bool PendingRows::note(int ax, int ay) {
  const auto near = [&](const int* at) { return ay == at[1] && std::abs(ax - at[0]) <= kNear; };
  streak_ = near(recent_[0]) || near(recent_[1]) ? streak_ + 1 : 0;
  std::copy_n(recent_[0], 2, recent_[1]);
  recent_[0][0] = ax;
  recent_[0][1] = ay;
  return streak_ >= kStreak;
}

bool PendingRows::add(const Runs& r, int ax, int ay, std::uint32_t value) {
  if (value != value_) {
    write();
    value_ = value;
  }
  const bool joins = note(ax, ay) && r.dense() && r.size >= kLanes;
  if (joins) {
    join(r, ax, ay);
    return true;
  }
  std::uint32_t* const anchor = row(ay) + ax;
  const std::ptrdiff_t stride = stride_;
  const Runs runs = r;  // in registers: the pixel stores might otherwise alias it
  if (runs.dense()) {
    std::uint32_t* at = anchor + runs.dy0 * stride;
    for (std::size_t k = 0; k < runs.size; ++k, at += stride)
      writeRun(at + runs.x0[k], runs.len[k], value);
    return false;
  }
  for (std::size_t k = 0; k < runs.size; ++k)
    writeRun(anchor + runs.dy[k] * stride + runs.x0[k], runs.len[k], value);
  return false;
}

void PendingRows::joinOne(int y, int x0, int x1) {
  std::int16_t &from = x0_[y], &to = x1_[y];
  if (x0 <= to && x1 >= from) {
    from = static_cast<std::int16_t>(std::min<int>(from, x0));
    to = static_cast<std::int16_t>(std::max<int>(to, x1));
    return;
  }
  if (from < to) writeHeld(y, from, to);
  from = static_cast<std::int16_t>(x0);
  to = static_cast<std::int16_t>(x1);
}

// A dense shape's rows follow one another, and so do their intervals: eight runs that each
// touch their row's interval, or stand in a row without one, join at once (an empty interval
// is the widest the wrong way round, so the run replaces it); else each goes on its own.
void PendingRows::join(const Runs& r, int ax, int ay) {
  const int first = ay + r.dy0;
  const std::int16_t *runX0 = r.x0, *runLen = r.len;
  std::int16_t *from = x0_.data() + first, *to = x1_.data() + first;
  const auto s = static_cast<std::int16_t>(ax);
  const Lanes shift = {s, s, s, s, s, s, s, s};
  const auto one = [&](std::size_t j) {
    joinOne(first + static_cast<int>(j), ax + runX0[j], ax + runX0[j] + runLen[j]);
  };
  std::size_t k = 0;
  for (; k + kLanes <= r.size; k += kLanes) {
    const Lanes a = load(runX0 + k) + shift, b = a + load(runLen + k);
    const Lanes x0 = load(from + k), x1 = load(to + k);
    if (all(((a <= x1) & (b >= x0)) | (x0 > x1))) {  // each touches, or its row is empty
      store(from + k, pick(a < x0, a, x0));
      store(to + k, pick(b > x1, b, x1));
      continue;
    }
    for (std::size_t j = k; j < k + kLanes; ++j)
      one(j);
  }
  for (; k < r.size; ++k)
    one(k);
  y0_ = std::min(y0_, first);
  y1_ = std::max(y1_, first + static_cast<int>(r.size) - 1);
}

}  // namespace corvane
