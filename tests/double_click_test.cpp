// The double click: the desktop's time and distance read from XSETTINGS data in either byte
// order, the fallback for missing or broken data, and the presses that make one or do not.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "display/double_click.h"

namespace corvane {
namespace {

enum Type { kInteger, kString, kColour };
// One setting: an integer's value, or a string that claims `value` bytes more than it has.
struct Setting {
  Type type;
  std::string name;
  std::int32_t value = 0;
  std::string text = "";
};

// XSETTINGS data as a settings manager writes it.
std::vector<unsigned char> settings(bool big, const std::vector<Setting>& list) {
  std::vector<unsigned char> b = {static_cast<unsigned char>(big ? 'B' : 'l'), 0, 0, 0};
  const auto number = [&](std::size_t v, int n) {
    for (int i = 0; i < n; ++i)
      b.push_back(static_cast<unsigned char>(v >> (8 * (big ? n - 1 - i : i))));
  };
  const auto text = [&](const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.resize((b.size() + 3) / 4 * 4);
  };
  number(7, 4);  // serial
  number(list.size(), 4);
  for (const Setting& s : list) {
    number(s.type, 1);
    number(0, 1);
    number(s.name.size(), 2);
    text(s.name);
    number(3, 4);  // last change
    number(s.type == kString ? s.text.size() + s.value : static_cast<std::uint32_t>(s.value), 4);
    text(s.type == kColour ? "1234" : s.text);  // a colour's last four bytes
  }
  return b;
}

std::tuple<int, int> ruleOf(const std::vector<unsigned char>& d, DoubleClickRule fallback = {}) {
  const DoubleClickRule r = doubleClickRuleFrom(d.data(), d.size(), fallback);
  return {r.timeMs, r.distance};
}

// Among other settings in either byte order; one of the two missing; a name that only begins
// like the setting, a value no desktop means, a string that claims more bytes than there are.
TEST(DoubleClickSettings, TimeAndDistanceWhereSensibleElseTheFallback) {
  const std::vector<Setting> desktop = {{kString, "Net/ThemeName", 0, "Adwaita"},
                                        {kInteger, "Net/CursorBlinkTime", 1200},
                                        {kColour, "Gtk/Colour"},
                                        {kInteger, "Net/DoubleClickTime", 250},
                                        {kString, "Gtk/FontName", 0, "Cantarell 11"},
                                        {kInteger, "Net/DoubleClickDistance", 8}};
  const std::pair<std::vector<unsigned char>, std::tuple<int, int>> rows[] = {
      {settings(false, desktop), {250, 8}},
      {settings(true, desktop), {250, 8}},
      {settings(false, {{kInteger, "Net/DoubleClickTime", 600}}), {600, 5}},
      {settings(true, {{kInteger, "Net/DoubleClickDistance", 2}}), {400, 2}},
      {settings(false, {{kInteger, "Net/DoubleClickTimeout", 900},
                        {kInteger, "Net/DoubleClickDistance", -3}}),
       {400, 5}},
      {settings(false,
                {{kString, "Net/ThemeName", 255, "x"}, {kInteger, "Net/DoubleClickTime", 250}}),
       {400, 5}},
      {{}, {400, 5}}};
  for (const auto& row : rows)
    EXPECT_EQ(ruleOf(row.first), row.second) << "row " << &row - rows;
  // Cut anywhere, the data gives the fallback and is never read past its end (ASan watches).
  const auto full = settings(true, desktop);
  for (std::size_t n = 0; n < full.size(); ++n)
    EXPECT_EQ(ruleOf({full.begin(), full.begin() + static_cast<long>(n)}, {321, 7}),
              std::tuple(321, 7))
        << n << " bytes";
}
// Presses in turn, each with whether it completes a double click: the limits themselves
// belong to one; a late, distant or other-button press starts afresh, as does a third press;
// the desktop's rule in place of the fallback; a clock that wraps; a press stamped earlier.
TEST(DoubleClicks, TwoPressesWithinTheTimeAndDistance) {
  using Press = std::tuple<std::uint32_t, int, int, int, bool>;  // ms, button, x, y, doubled
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
    for (const auto& [ms, button, x, y, doubled] : presses)
      EXPECT_EQ(c.press(ms, button, x, y), doubled) << rule.timeMs << " ms, at " << ms;
  }
}

}  // namespace
}  // namespace corvane
