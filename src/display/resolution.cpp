#include "display/resolution.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <charconv>
#include <string>

namespace corvane {

std::optional<double> xftDpi(std::string_view resources) {
  constexpr std::string_view kName = "Xft.dpi:";
  for (size_t at = 0; at < resources.size();) {
    const size_t end = std::min(resources.find('\n', at), resources.size());
    std::string_view line = resources.substr(at, end - at);
    at = end + 1;
    if (line.substr(0, kName.size()) != kName) continue;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
      line.remove_prefix(1);
    double dpi = 0;
    const auto [p, ec] = std::from_chars(line.data(), line.data() + line.size(), dpi);
    if (ec == std::errc() && dpi > 0) return dpi;
  }
  return std::nullopt;
}

double resolutionScale(double dpi) {
  return dpi > 96 ? dpi / 96 : 1.0;
}

double displayScale(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 1.0;
  Display* d = info.info.x11.display;
  if (const char* db = XResourceManagerString(d)) {
    if (const auto dpi = xftDpi(db)) return resolutionScale(*dpi);
  }
  const int screen = DefaultScreen(d);
  const int mm = DisplayWidthMM(d, screen);
  if (mm <= 0) return 1.0;
  return resolutionScale(DisplayWidth(d, screen) * 25.4 / mm);
}

}  // namespace corvane
