// Numbers as Print shows them.
#include "graphs/number_text.h"

#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

// Up to 15 significant digits, no trailing zeros, and E notation for very large or small
// magnitudes ("1E+20", "1.5E-07").
std::string digits(double magnitude) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", magnitude);
  std::string s = buf;
  const auto e = s.find('E');
  if (e != std::string::npos) {
    // Two-digit exponent as printf writes it; drop a leading zero beyond two digits.
    std::string exp = s.substr(e + 2);
    while (exp.size() > 2 && exp[0] == '0')
      exp.erase(0, 1);
    std::string out = s.substr(0, e + 2);  // mantissa, "E" and the sign
    out += exp;
    return out;
  }
  if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
  return s;
}

}  // namespace

std::string numberText(double v) {
  if (std::isnan(v)) return " NaN ";
  if (std::isinf(v)) return v > 0 ? " Inf " : "-Inf ";
  if (v == 0) return " 0 ";  // also -0
  std::string out(1, v < 0 ? '-' : ' ');
  out += digits(std::fabs(v));
  out += ' ';
  return out;
}

}  // namespace corvane
