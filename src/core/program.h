// The one program context that every procedure and handler works on: the state, the drawing
// surface, the host that delivers events and paces the animation, and the random generator.
#pragma once

#include "core/runtime.h"
#include "core/state.h"
#include "display/host.h"
#include "display/surface.h"

namespace corvane {

struct Program {
  Program(Surface& surface, Host& host) : sf(surface), host(host) {}

  State st;
  Surface& sf;
  Host& host;
  RandomSequence Rnd;  // p.Rnd(): the next number of the sequence
};

}  // namespace corvane
