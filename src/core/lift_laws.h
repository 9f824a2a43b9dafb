// The valve lift laws of the engine view: crank angle `ang` in, valve positions out. Positions
// are the y of the valve head: -16 on the seat, more negative more open. The laws work per
// animation step, not per unit of angle, and draw nothing.
#pragma once

#include "core/state.h"

namespace corvane {

// Normal intake lobe into `lift`: the conventional valve, and the cam of Tessimo and Corvane.
void normalIntakeLift(State& st);
// Corvane intake valve `liftc`: opened by the normal lobe, held at -23, released by oil.
void corvaneIntakeLift(State& st);
// Long intake lobe of the Lumivent engine into `lift` (after `kkk` has kept the normal lobe).
void longIntakeLift(State& st);
// Tessimo intake valve `lifta`: the normal lobe through an oil push rod that collapses once
// the solenoid opens at `ingoing`.
void tessimoIntakeLift(State& st);
// Lumivent intake valve `liftb`: the long lobe through a push rod released at `outgoing`.
void lumiventIntakeLift(State& st);
// Exhaust lobe into `lifto` (after keeping the previous value in `lifto1`).
void exhaustLift(State& st);
// Corvane exhaust valve `lifte`: opened by the exhaust lobe, held at -23, released by oil.
void corvaneExhaustLift(State& st);

// The two lobe shapes alone, as positions at crank angle `ang`.
double normalLobeAt(double ang, double pi);
double exhaustLobeAt(double ang, double pi);

}  // namespace corvane
