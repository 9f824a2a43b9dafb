// The program: one maximised window with four engines, driven by the mouse and the keyboard.
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/caption.h"
#include "core/main_loop.h"
#include "display/sdl_window.h"

namespace {
const char* const kUsage =
    "Usage: corvane [--help | --version]\n"
    "Opens the animation of four engines that set their load with throttle and intake valve.\n"
    "Space bar: next view. Mouse: speed (height), load (left-right), solenoid timings.\n"
    "Arrow keys: speed and load. Page Down / Page Up: next / previous view.\n"
    "C: colours. P: lift graphs. '.' and ',': step mode. F11: full screen. ESC: quit.\n";

// Answers --help and --version; returns the exit status, or -1 to open the window.
int commandLine(int argc, char** argv) {
  if (argc < 2) return -1;
  const std::string_view arg = argv[1];
  if (argc == 2 && arg == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && arg == "--version") {
    std::puts("corvane " CORVANE_VERSION);
    return 0;
  }
  const bool known = arg == "--help" || arg == "--version";  // then the next one is extra
  std::fprintf(stderr, "corvane: unknown argument '%s'\n%s", argv[known ? 2 : 1], kUsage);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (const int status = commandLine(argc, argv); status >= 0) return status;
  try {
    corvane::SdlWindow window(corvane::kCaption);
    corvane::runUntilEnd(window.surface(), window);  // End: the window closes after it
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane: %s\n", e.what());
    return 1;
  }
  return 0;
}
