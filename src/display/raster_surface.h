// The real picture: a surface that rasterises every call into a 32-bit XRGB image with cairo,
// without anti-aliasing, so that drawing a shape again in the background colour erases it
// exactly. Points are placed on pixel centres. It keeps a record of the damaged area for the
// window to present.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/surface.h"
#include "display/tile_damage.h"

namespace corvane {

struct ShapeKey;

class RasterSurface : public Surface {
 public:
  // An image of its own, of the given client size.
  RasterSurface(int widthPx, int heightPx);
  ~RasterSurface() override;

  // Draws into pixels owned by someone else (a window's surface) from now on; the picture
  // there is taken as it is. strideBytes is the length of one row in bytes.
  void attach(std::uint32_t* pixels, int widthPx, int heightPx, int strideBytes);
  // A new client size with an image of its own, cleared to BackColor.
  void resize(int widthPx, int heightPx) override;

  // Pixels stored in a web canvas's byte order, R, G, B, A, rather than cairo's B, G, R, A:
  // red and blue trade places in every colour painted from now on, so the canvas takes the
  // rows as they are. pixel(), snapshot() and writePng() then give the traded colours.
  void storeForCanvas(bool on);

  // The pixel at (x, y) as 0x00RRGGBB.
  std::uint32_t pixel(int x, int y) const;
  const std::uint32_t* row(int y) const;
  // The whole picture, row after row, as stored (the top byte as cairo writes it).
  std::vector<std::uint32_t> snapshot() const;
  bool writePng(const std::string& path) const;

  // Shapes are rasterised by cairo once and then copied as runs of pixels wherever the same
  // shape is drawn again; off, every shape goes to cairo. The pictures are the same.
  void setShapeCache(bool on);
  // Shapes noted and pixel runs kept by the cache at present.
  std::size_t cachedShapes() const;
  std::size_t cachedRuns() const;

  // The damaged area since the last call, as a few rectangles; clears the record.
  std::vector<PixelRect> takeDamage();
  bool hasDamage() const;
  void damageAll();

 protected:
  void paintClear(Colour c) override;
  void paintDot(double x, double y, Colour c) override;
  void paintSegment(double x1, double y1, double x2, double y2, Colour c) override;
  void paintBox(double x1, double y1, double x2, double y2, Colour c) override;
  void paintCircle(double x, double y, double radius, Colour c) override;
  void paintText(double x, double y, std::string_view text, Colour c) override;

 private:
  struct Impl;
  void damage(double x0, double y0, double x1, double y1);
  void damageShape(const ShapeKey& key, int ax, int ay);
  void damageSegment(int ax, int ay, int bx, int by);

  std::unique_ptr<Impl> impl_;
};

}  // namespace corvane
