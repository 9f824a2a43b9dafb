// The one program context that every procedure and handler works on: the state, the drawing
// surface, the host that delivers events and paces the animation, and the random generator.
#pragma once

#include "core/runtime.h"
#include "core/state.h"
#include "display/host.h"
#include "display/surface.h"

namespace corvane {

// What the open help pages keep, so that a colour reversal on the page (which shows the page
// again inside the one already shown) needs no deeper nesting of the waiting loop. Only the
// first page waits; each later one draws itself and adds its kept values here. All pages are
// left together, the innermost first: the first page's values end in force, and the window
// ends cleared unless every restore of BackColor keeps the colour it finds.
struct HelpLevels {
  struct Kept {
    Colour fore = 0;
    Colour back = 0;
    float fontSize = 0;
  };
  long long open = 0;          // pages drawn and not yet left; 0: no page shown
  Kept first;                  // what the first page kept
  bool innerBacksSame = true;  // every later page kept the first page's BackColor
};

struct Program {
  Program(Surface& surface, Host& host) : sf(surface), host(host) {}

  State st;
  Surface& sf;
  Host& host;
  RandomSequence Rnd;  // p.Rnd(): the next number of the sequence
  HelpLevels help;     // the help pages shown at present
};

}  // namespace corvane
