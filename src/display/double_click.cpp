#include "display/double_click.h"

#include <cstdlib>
#include <string_view>

namespace corvane {

namespace {

// Reads the settings one field after another; any read past the end marks the data bad.
class Reader {
 public:
  Reader(const unsigned char* data, std::size_t size, bool bigEndian)
      : data_(data), size_(size), big_(bigEndian) {}
  bool ok() const { return ok_; }
  std::uint32_t u8() { return take(1) ? data_[pos_ - 1] : 0; }
  std::uint32_t u16() { return number(2); }
  std::uint32_t u32() { return number(4); }
  std::string_view text(std::size_t n) {
    const std::size_t start = pos_;
    if (!take(n)) return {};
    return {reinterpret_cast<const char*>(data_ + start), n};
  }
  void skip(std::size_t n) { take(n); }
  void align4() { skip((4 - pos_ % 4) % 4); }

 private:
  bool take(std::size_t n) {
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      return false;
    }
    pos_ += n;
    return true;
  }
  std::uint32_t number(std::size_t n) {
    const std::size_t start = pos_;
    if (!take(n)) return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
      v |= static_cast<std::uint32_t>(data_[start + i]) << (8 * (big_ ? n - 1 - i : i));
    return v;
  }

  const unsigned char* data_;
  std::size_t size_;
  bool big_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace

// The XSETTINGS layout: byte order, three bytes of padding, a serial, the number of settings,
// then each setting: type (0 integer, 1 string, 2 colour), a pad byte, the name's length, the
// name padded to four bytes, the serial of its last change, and its value.
DoubleClickRule doubleClickRuleFrom(const unsigned char* data, std::size_t size,
                                    DoubleClickRule fallback) {
  if (!data || size < 12) return fallback;
  Reader r(data, size, data[0] == 'B');  // MSBFirst is 'B' (0x42), LSBFirst 'l' (0x6c)
  r.skip(4);
  r.u32();
  const std::uint32_t count = r.u32();
  DoubleClickRule rule = fallback;
  for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
    const std::uint32_t type = r.u8();
    r.skip(1);
    const std::string_view name = r.text(r.u16());
    r.align4();
    r.u32();
    if (type == 0) {
      const auto value = static_cast<std::int32_t>(r.u32());
      if (!r.ok()) break;
      if (name == "Net/DoubleClickTime" && value > 0 && value <= 5000) rule.timeMs = value;
      if (name == "Net/DoubleClickDistance" && value >= 0 && value <= 1000) rule.distance = value;
    } else if (type == 1) {
      r.skip(r.u32());
      r.align4();
    } else if (type == 2) {
      r.skip(8);
    } else {
      return fallback;  // a type no desktop writes: the rest cannot be read
    }
  }
  return r.ok() ? rule : fallback;
}

bool DoubleClicks::press(std::uint32_t ms, int button, int x, int y) {
  const bool twice = armed_ && button == button_ &&
                     ms - ms_ <= static_cast<std::uint32_t>(rule_.timeMs) &&
                     std::abs(x - x_) <= rule_.distance && std::abs(y - y_) <= rule_.distance;
  armed_ = !twice;
  ms_ = ms;
  button_ = button;
  x_ = x;
  y_ = y;
  return twice;
}

}  // namespace corvane
