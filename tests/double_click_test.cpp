// The double click: the desktop's time and distance read from XSETTINGS data in either byte
// order, the fallback for missing or broken data, and the presses that make one or do not.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/double_click.h"

namespace corvane {
namespace {

// XSETTINGS data as a settings manager writes it.
class Settings {
 public:
  explicit Settings(bool bigEndian) : big_(bigEndian) {
    bytes_ = {static_cast<unsigned char>(big_ ? 'B' : 'l'), 0, 0, 0};
    u32(7);  // serial
    u32(0);  // the count, filled in by data()
  }
  Settings& integer(const std::string& name, std::int32_t v) {
    head(0, name);
    u32(static_cast<std::uint32_t>(v));
    return *this;
  }
  Settings& string(const std::string& name, const std::string& v) {
    head(1, name);
    u32(static_cast<std::uint32_t>(v.size()));
    text(v);
    return *this;
  }
  Settings& colour(const std::string& name) {
    head(2, name);
    for (int i = 0; i < 4; ++i)
      u16(0x1234);
    return *this;
  }
  std::vector<unsigned char> data() const {
    std::vector<unsigned char> b = bytes_;
    for (int i = 0; i < 4; ++i)
      b[8 + i] = static_cast<unsigned char>(count_ >> (8 * (big_ ? 3 - i : i)));
    return b;
  }

 private:
  void head(int type, const std::string& name) {
    ++count_;
    bytes_.push_back(static_cast<unsigned char>(type));
    bytes_.push_back(0);
    u16(static_cast<std::uint16_t>(name.size()));
    text(name);
    u32(3);  // last change
  }
  void text(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    while (bytes_.size() % 4)
      bytes_.push_back(0);
  }
  void number(std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
      bytes_.push_back(static_cast<unsigned char>(v >> (8 * (big_ ? n - 1 - i : i))));
  }
  void u16(std::uint16_t v) { number(v, 2); }
  void u32(std::uint32_t v) { number(v, 4); }

  bool big_;
  std::uint32_t count_ = 0;
  std::vector<unsigned char> bytes_;
};

DoubleClickRule ruleOf(const std::vector<unsigned char>& d) {
  return doubleClickRuleFrom(d.data(), d.size());
}

TEST(DoubleClickSettings, TimeAndDistanceAmongOtherSettingsInBothByteOrders) {
  for (bool big : {false, true}) {
    const auto d = Settings(big)
                       .string("Net/ThemeName", "Adwaita")
                       .integer("Net/CursorBlinkTime", 1200)
                       .colour("Gtk/Colour")
                       .integer("Net/DoubleClickTime", 250)
                       .string("Gtk/FontName", "Cantarell 11")
                       .integer("Net/DoubleClickDistance", 8)
                       .data();
    const DoubleClickRule r = ruleOf(d);
    EXPECT_EQ(r.timeMs, 250) << (big ? "MSB first" : "LSB first");
    EXPECT_EQ(r.distance, 8) << (big ? "MSB first" : "LSB first");
  }
}

TEST(DoubleClickSettings, WhatIsMissingOrBrokenKeepsTheFallback) {
  EXPECT_EQ(ruleOf(Settings(false).integer("Net/DoubleClickTime", 600).data()).distance, 5);
  EXPECT_EQ(ruleOf(Settings(false).integer("Net/DoubleClickDistance", 2).data()).timeMs, 400);
  // A name that only begins like the setting, and values no desktop means.
  const DoubleClickRule odd = ruleOf(Settings(false)
                                         .integer("Net/DoubleClickTimeout", 900)
                                         .integer("Net/DoubleClickDistance", -3)
                                         .data());
  EXPECT_EQ(odd.timeMs, 400);
  EXPECT_EQ(odd.distance, 5);
  // Cut anywhere, the data gives the fallback and is never read past its end (ASan watches).
  const auto full = Settings(true)
                        .string("Net/ThemeName", "Adwaita")
                        .integer("Net/DoubleClickTime", 250)
                        .integer("Net/DoubleClickDistance", 8)
                        .data();
  for (std::size_t n = 0; n < full.size(); ++n) {
    std::vector<unsigned char> cut(full.begin(), full.begin() + static_cast<long>(n));
    const DoubleClickRule r = doubleClickRuleFrom(cut.data(), cut.size(), {321, 7});
    EXPECT_EQ(r.timeMs, 321) << n << " bytes";
    EXPECT_EQ(r.distance, 7) << n << " bytes";
  }
  EXPECT_EQ(ruleOf(full).timeMs, 250);
  // A string that claims more bytes than there are.
  auto longString = Settings(false).string("Net/ThemeName", "x").data();
  longString[36] = 0xFF;  // the low byte of the string's length
  EXPECT_EQ(ruleOf(longString).timeMs, 400);
  EXPECT_EQ(doubleClickRuleFrom(nullptr, 0).timeMs, 400);
}

// Presses in turn, each with whether it completes a double click: the limits themselves
// belong to one; a late, distant or other-button press starts afresh, as does a third press;
// the desktop's rule in place of the fallback; a clock that wraps; a press stamped earlier.
TEST(DoubleClicks, TwoPressesWithinTheTimeAndDistance) {
  struct Press {
    std::uint32_t ms;
    int button, x, y;
    bool doubled;
  };
  const std::pair<DoubleClickRule, std::vector<Press>> cases[] = {
      {{400, 5},
       {{1000, 1, 100, 100, false},
        {1400, 1, 105, 95, true},  // at the limits
        {5000, 1, 100, 100, false},
        {5401, 1, 100, 100, false},  // a millisecond too late
        {5500, 1, 100, 100, true},   // late press starts its own
        {9000, 1, 100, 100, false},
        {9100, 1, 106, 100, false},  // a pixel too far across
        {9200, 1, 106, 106, false},  // a pixel too far down
        {9300, 3, 106, 106, false},
        {9400, 3, 106, 106, true},  // another button
        {9500, 3, 106, 106, false},
        {9600, 3, 106, 106, true}}},  // a third press: afresh
      {{250, 1},
       {{0, 1, 0, 0, false},
        {300, 1, 0, 0, false},  // a double click by the fallback only
        {550, 1, 1, 1, true},
        {0xFFFFFFA0u, 1, 0, 0, false},
        {0x40u, 1, 0, 0, true},  // 160 ms later, across the clock's wrap
        {1000, 1, 0, 0, false},
        {900, 1, 0, 0, false}}}};  // stamped before the last one
  for (const auto& [rule, presses] : cases) {
    DoubleClicks c(rule);
    for (const Press& p : presses)
      EXPECT_EQ(c.press(p.ms, p.button, p.x, p.y), p.doubled) << rule.timeMs << " ms, at " << p.ms;
  }
}

}  // namespace
}  // namespace corvane
