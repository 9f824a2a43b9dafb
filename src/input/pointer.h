// The pointer's laws of speed and load: the mouse applies them at the pointer, and the arrow
// keys keep within what they give at the edges of the window.
#pragma once

#include "core/state.h"

namespace corvane {

// The lowest speed the engine is designed for (R.P.M. readout 600). A tall window lets the
// pointer go lower than the design window does; the speed stays here instead of reaching 0.
inline constexpr float kLowestRpm = 1.2f;

// Speed from the pointer's height Y: 44 vertical units per unit of rpm, 0 at Y = -385, not
// below the lowest speed; single precision, as rpm is stored.
float speedAt(float Y);

// Load from the pointer's X: 1/80 rad per unit to the right, in the graph views' unscaled
// units (X / s1).
double loadAt(const State& st, float X);

// The extra crank-angle advance per step that goes with rpm (negative): -rpm^2 / 700.
void steeFromRpm(State& st);

}  // namespace corvane
