// The program: one maximised window with four engines, driven by the mouse and the keyboard.
#include <cstdio>
#include <exception>

#include "core/events.h"
#include "core/main_loop.h"
#include "display/sdl_window.h"

namespace {
const char* const kCaption =
    "          Corvane (outgoing air control) and Lumivent (outgoing and ingoing air control) "
    "versus Kestrom's Tessimo (ingoing air control)         SpaceBar    MouseMove: "
    "r.p.m.-Load    ESC:Quit";
}

int main() {
  try {
    corvane::SdlWindow window(kCaption);
    corvane::Program program(window.surface(), window);
    corvane::Dispatcher dispatcher(program);
    window.setSink(&dispatcher);
    try {
      corvane::Form_Activate(program);
    } catch (const corvane::ProgramEnded&) {
      // End: the window closes as the objects above are destroyed.
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane: %s\n", e.what());
    return 1;
  }
  return 0;
}
