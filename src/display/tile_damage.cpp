#include "display/tile_damage.h"

#include <algorithm>

namespace corvane {

void TileDamage::bind(int width, int height) {
  width_ = width;
  height_ = height;
  tilesX_ = (width + kTile - 1) / kTile;
  tilesY_ = (height + kTile - 1) / kTile;
  dirty_.assign(static_cast<std::size_t>(tilesX_) * tilesY_, 1);
  any_ = true;
  forgetMarked();
}

void TileDamage::mark(int x0, int y0, int x1, int y1) {
  if (x1 < 0 || y1 < 0 || x0 >= width_ || y0 >= height_) return;
  const int tx0 = std::max(x0, 0) / kTile, tx1 = std::min(x1, width_ - 1) / kTile;
  const int ty0 = std::max(y0, 0) / kTile, ty1 = std::min(y1, height_ - 1) / kTile;
  any_ = true;
  for (int ty = ty0; ty <= ty1; ++ty) {
    auto& [first, last] = marked_[ty];
    if (first <= tx0 && tx1 <= last) continue;  // marked already, since the damage was taken
    std::fill_n(dirty_.begin() + static_cast<std::size_t>(ty) * tilesX_ + tx0, tx1 - tx0 + 1, 1);
    first = tx0;
    last = tx1;
  }
}

void TileDamage::markAll() {
  std::fill(dirty_.begin(), dirty_.end(), 1);
  any_ = true;
}

std::vector<PixelRect> TileDamage::take() {
  std::vector<PixelRect> out;
  if (!any_) return out;
  any_ = false;
  const auto dirty = [&](int tx, int ty) {
    return dirty_[static_cast<std::size_t>(ty) * tilesX_ + tx] != 0;
  };
  std::vector<PixelRect> open;  // rects that ended on the previous tile row
  for (int ty = 0; ty < tilesY_; ++ty) {
    std::vector<PixelRect> current;
    for (int tx = 0; tx < tilesX_;) {
      if (!dirty(tx, ty)) {
        ++tx;
        continue;
      }
      int end = tx;
      while (end < tilesX_ && dirty(end, ty))
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
    r.w = std::min(r.w, width_ - r.x);
    r.h = std::min(r.h, height_ - r.y);
  }
  std::fill(dirty_.begin(), dirty_.end(), 0);
  forgetMarked();
  return out;
}

}  // namespace corvane
