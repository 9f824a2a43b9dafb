// Pixels of the shapes cairo has drawn, kept as runs so that the same shape drawn again is
// copied instead of rasterised. Memory is allocated once, at the size of its limit, so it
// stays flat however many different shapes come and go.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

// A run of painted pixels: row dy and first column x0 relative to the shape's anchor pixel.
struct Span {
  std::int16_t dy, x0, len;
};

// What makes two shapes paint the same pixels relative to their anchor pixel.
struct ShapeKey {
  std::uint32_t kindAndWidth;
  std::int32_t a, b;     // segment: far end; box: size; in pixels from the anchor
  std::uint64_t radius;  // circle: the bits of its radius in pixels
  bool operator==(const ShapeKey&) const = default;
};

class ShapeCache {
 public:
  // The runs of a shape seen before. The first time a shape is seen it is only noted and
  // nothing is returned: a shape drawn once (a graph's area line) is not worth keeping. The
  // second time, rasterise(runs) fills the runs that are kept from then on.
  template <class Rasterise>
  std::optional<std::span<const Span>> find(const ShapeKey& key, Rasterise&& rasterise);

  std::size_t shapes() const { return used_; }
  std::size_t runs() const { return pool_.size(); }

 private:
  enum class State : std::uint8_t { Empty, Seen, Kept };
  struct Slot {
    ShapeKey key;
    std::uint32_t first = 0, count = 0;  // the shape's runs in the pool
    State state = State::Empty;
  };
  // The engine view keeps under a thousand shapes and 60 000 runs; the limits leave room for
  // the graph views' lines that recur from one operating point to the next.
  static constexpr std::size_t kSlots = 1 << 15;
  static constexpr std::size_t kMaxShapes = kSlots * 3 / 4;
  static constexpr std::size_t kMaxRuns = 1 << 19;  // 3 MB

  Slot& slotFor(const ShapeKey& key);  // its slot, or the empty one where it would go
  void reset();

  std::vector<Slot> slots_;
  std::vector<Span> pool_;
  std::vector<Span> fresh_;
  std::size_t used_ = 0;
};

template <class Rasterise>
std::optional<std::span<const Span>> ShapeCache::find(const ShapeKey& key, Rasterise&& rasterise) {
  if (slots_.empty()) reset();
  Slot* slot = &slotFor(key);
  if (slot->state == State::Empty) {
    if (used_ >= kMaxShapes) {
      reset();
      slot = &slotFor(key);
    }
    slot->key = key;
    slot->state = State::Seen;
    ++used_;
    return std::nullopt;
  }
  if (slot->state == State::Seen) {
    fresh_.clear();
    rasterise(fresh_);
    if (pool_.size() + fresh_.size() > kMaxRuns) {
      reset();
      slot = &slotFor(key);
      slot->key = key;
      ++used_;
    }
    slot->first = static_cast<std::uint32_t>(pool_.size());
    slot->count = static_cast<std::uint32_t>(fresh_.size());
    slot->state = State::Kept;
    pool_.insert(pool_.end(), fresh_.begin(), fresh_.end());
  }
  return std::span<const Span>(pool_.data() + slot->first, slot->count);
}

}  // namespace corvane
