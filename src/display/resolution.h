// The display's resolution: the factor by which the picture grows above 96 DPI, read from the
// desktop's font resolution (the X resource Xft.dpi) or else from the screen's own size.
#pragma once

#include <optional>
#include <string_view>

struct SDL_Window;

namespace corvane {

// The value of Xft.dpi in an X resource database string ("Xft.dpi:\t192\n..."), if set.
std::optional<double> xftDpi(std::string_view resources);

// Factor of the picture at a resolution: 1 at 96 DPI and below, dpi / 96 above.
double resolutionScale(double dpi);

// The factor for the display that shows the window (1 where nothing can be read).
double displayScale(SDL_Window* window);

}  // namespace corvane
