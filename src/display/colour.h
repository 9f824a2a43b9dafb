// Colours as the program writes them: 24-bit values &H00BBGGRR (red in the low byte).
#pragma once

#include <cstdint>

namespace corvane {

using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kRed = 0x000000FF;
inline constexpr Colour kBlue = 0x00FF0000;
inline constexpr Colour kCyan = 0x00FFFF00;
inline constexpr Colour kYellow = 0x0000FFFF;
inline constexpr Colour kBrightGreen = 0x0000FF00;
inline constexpr Colour kGreen = 0x0000C000;
inline constexpr Colour kTeal = 0x00C0C000;
inline constexpr Colour kOil = 0x0080C0FF;     // light orange: oil, push rods
inline constexpr Colour kOrange = 0x000080FF;  // the Corvane exhaust spot only
inline constexpr Colour kGrey = 0x00808080;
inline constexpr Colour kSilver = 0x00C0C0C0;

constexpr int redOf(Colour c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// The same colour as a 0x00RRGGBB pixel of a 32-bit XRGB image.
constexpr std::uint32_t pixelOf(Colour c) {
  return (static_cast<std::uint32_t>(redOf(c)) << 16) |
         (static_cast<std::uint32_t>(greenOf(c)) << 8) | static_cast<std::uint32_t>(blueOf(c));
}

}  // namespace corvane
