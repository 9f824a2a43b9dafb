#include "display/shape_cache.h"

namespace corvane {

namespace {
std::size_t hashOf(const ShapeKey& k) {
  std::uint64_t h = k.kindAndWidth * 0x9E3779B97F4A7C15ull;
  h ^= (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.a)) << 32 |
        static_cast<std::uint32_t>(k.b)) +
       0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  h ^= k.radius + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h ^ (h >> 29));
}
}  // namespace

// Open addressing with linear probing; the table is never more than three quarters full.
ShapeCache::Slot& ShapeCache::slotFor(const ShapeKey& key) {
  for (std::size_t i = hashOf(key) & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
    Slot& s = slots_[i];
    if (s.state == State::Empty || s.key == key) return s;
  }
}

// Forgets every shape. The memory is taken whole the first time, so that the process's
// resident size does not creep up as the cache fills.
void ShapeCache::reset() {
  slots_.assign(kSlots, Slot{});
  if (pool_.capacity() < kMaxRuns) pool_.resize(kMaxRuns);
  pool_.clear();
  used_ = 0;
}

}  // namespace corvane
