// Runs from the shape cache, held back and joined before they are written. Each row keeps one
// interval of columns in the colour painted last; a run that overlaps or touches it joins it,
// and one that does not writes it and takes its place. The graph views' area lines, a pixel or
// less apart with a pen of a few pixels, paint most pixels two or more times in one colour;
// within one colour the order of painting does not matter, so the pixels come out those of
// every run written in turn. A dense shape's runs are joined eight rows at a time.
//
// Only a dense shape of eight rows or more joins the rows, and only after a series of shapes
// each anchored on the row of one of the two before it and close by (the time view erases two
// graphs' area lines in turn); any other is written at once, so that the engine view, whose
// shapes follow one another in other colours or other places, pays for no joining.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/shape_cache.h"
#include "display/tile_damage.h"

namespace corvane {

class PendingRows {
 public:
  // Columns are kept in 16 bits: a wider image bypasses the shape cache (cairo's own image
  // surfaces stop at 32767 pixels anyway).
  static constexpr int kMaxWidth = 0x7FFF;

  // The rows held back mark what they write in `damage`, when they write it.
  explicit PendingRows(TileDamage& damage) : damage_(damage) {}

  // Pixels to write into from now on, of `rows` rows; what was pending is dropped.
  void bind(std::uint32_t* pixels, int strideInPixels, int rows);
  // Forgets what is pending without writing it (the picture is painted over).
  void drop();
  // Paints a shape's runs anchored at image pixel (ax, ay) in the pixel value given, now or
  // later; what is pending in another value is written first. True if the runs are held
  // back, which then mark their damage; those written at once mark none.
  bool add(const Runs& runs, int ax, int ay, std::uint32_t value);
  // A shape anchored at (ax, ay) that needs no painting (it is there already): the series
  // goes on through it. True if the series is long enough to join.
  bool note(int ax, int ay);
  // Writes everything pending.
  void write();

 private:
  void join(const Runs& dense, int ax, int ay);
  void joinOne(int y, int x0, int x1);
  void writeHeld(int y, int x0, int x1);
  std::uint32_t* row(int y) const { return pixels_ + std::ptrdiff_t{y} * stride_; }

  TileDamage& damage_;
  std::uint32_t* pixels_ = nullptr;
  int stride_ = 0;
  std::uint32_t value_ = 0;
  int recent_[2][2] = {};              // the last two shapes' anchors, x and y
  int streak_ = 0;                     // how many shapes in turn stood close to those before
  std::vector<std::int16_t> x0_, x1_;  // by row: columns [x0, x1), empty while x0 > x1
  int y0_ = INT_MAX, y1_ = INT_MIN;    // the rows that may hold an interval
};

}  // namespace corvane
