// The damaged area of an image, kept per tile of kTile x kTile pixels and given back as a few
// rectangles for the window to present.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace corvane {

struct PixelRect {
  int x, y, w, h;
};

class TileDamage {
 public:
  // A rectangle costs the program and the X server about as much as 1000 to 2000 pixels more
  // (make bench, BM_PresentRects), yet along a long diagonal 16-pixel tiles send less than
  // 64-pixel ones: the X server took 3 % of a core against 4 % while the engines animate.
  static constexpr int kTile = 16;

  // An image of width x height pixels, damaged all over.
  void bind(int width, int height);
  // Marks the tiles that hold the pixels x0..x1, y0..y1 (inclusive, x0 <= x1, y0 <= y1); what
  // lies outside the image is left out.
  void mark(int x0, int y0, int x1, int y1);
  void markAll();
  bool any() const { return any_; }
  // The damage as rectangles, runs of tiles along each tile row merged with the same columns'
  // run in the row above; the record is cleared.
  std::vector<PixelRect> take();

 private:
  void forgetMarked() { marked_.assign(tilesY_, {1, 0}); }

  int width_ = 0, height_ = 0, tilesX_ = 0, tilesY_ = 0;
  std::vector<std::uint8_t> dirty_;
  bool any_ = true;
  // The tiles last marked in each tile row, first and last column: the graph views' area lines,
  // side by side, mark the same tiles again and again, and looking costs less than marking.
  std::vector<std::pair<int, int>> marked_;
};

}  // namespace corvane
