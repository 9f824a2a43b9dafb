#include "graphs/number_text.h"

#include <cmath>
#include <cstdio>

namespace corvane {

std::string numberText(double v) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.0f", std::fabs(v));
  std::string out(1, v < 0 ? '-' : ' ');  // -0 shows as 0
  out += digits;
  out += ' ';
  return out;
}

}  // namespace corvane
