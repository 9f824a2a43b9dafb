// The pixels cairo paints for a segment with a round pen and no anti-aliasing, worked out
// without cairo: the outline its stroker builds (in 24.8 fixed point), filled row by row as its
// one-bit scan converter fills it. Several times cheaper than a stroke through cairo, which
// matters for the graph views' area lines, new at every operating point.
#pragma once

#include <cstdint>
#include <vector>

#include "display/shape_cache.h"

namespace corvane {

class SegmentPixels {
 public:
  // The range in which the result has been checked against cairo pixel for pixel (the tests
  // keep checking it): reach in pixels either way, pen width in pixels.
  static constexpr int kMaxReach = 400;
  static constexpr int kMaxPen = 16;

  SegmentPixels();
  ~SegmentPixels();

  // Appends the runs of a segment from the centre of the anchor pixel to the centre of the
  // pixel (dx, dy) from it, with a pen `pen` pixels wide. False, with nothing appended,
  // outside the checked range: cairo must draw that one.
  bool append(int dx, int dy, int pen, std::vector<Span>& runs);

 private:
  struct Pen;
  struct Crossing {
    std::int32_t x;
    std::int32_t dir;
  };
  struct Edge;

  const Pen& penOf(int width);
  bool fill(const std::vector<Edge>& edges, std::vector<Span>& runs);

  std::vector<Pen> pens_;  // by width, made when first needed
  std::vector<Edge> edges_;
  std::vector<Crossing> crossings_;  // kPerRow for each row
  std::vector<std::uint8_t> counts_;
};

}  // namespace corvane
