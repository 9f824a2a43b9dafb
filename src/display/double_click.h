// What makes two presses of a mouse button a double click: the desktop's double-click time
// and distance, read from the X settings where the desktop publishes them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

struct DoubleClickRule {
  int timeMs = 400;  // at most this long from the first press to the second
  int distance = 5;  // and at most this many pixels apart, across and down
};

// The rule that an XSETTINGS property (the _XSETTINGS_SETTINGS bytes) gives: its
// Net/DoubleClickTime and Net/DoubleClickDistance where present and sensible, otherwise
// those of the fallback. Malformed data leaves the fallback as it is.
DoubleClickRule doubleClickRuleFrom(const unsigned char* data, std::size_t size,
                                    DoubleClickRule fallback = {});

// Counts the presses: the second press of a button close enough in time and place to the
// first is a double click; the press after a double click starts afresh.
class DoubleClicks {
 public:
  explicit DoubleClicks(DoubleClickRule rule = {}) : rule_(rule) {}
  void setRule(DoubleClickRule rule) { rule_ = rule; }
  const DoubleClickRule& rule() const { return rule_; }

  // A press of button at time ms (a millisecond clock that may wrap) at pixel (x, y); true if
  // it completes a double click.
  bool press(std::uint32_t ms, int button, int x, int y);

 private:
  DoubleClickRule rule_;
  bool armed_ = false;  // a first press waits for its second
  std::uint32_t ms_ = 0;
  int button_ = 0, x_ = 0, y_ = 0;
};

}  // namespace corvane
