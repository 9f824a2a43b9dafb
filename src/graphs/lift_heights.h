// Lift heights of the graph views (0 closed, 100 full lift) against the abscissa angle x,
// and the speed and load numbers that the readouts show.
#pragma once

#include <cmath>

#include "core/runtime.h"

namespace corvane {

// Normal lobe: N(x) = 50·(Cos(x) − 0.15·Cos(2x)) + 57.5; closed at ±pi, full lift at 0.
inline double normalLift(double x) {
  return 50 * (std::cos(x) - 0.15 * std::cos(2 * x)) + 57.5;
}

// Straight part of the long lobe, from pi/4 on:
// L(x) = 57.5 − 18·(x − pi/4) + 50·(Cos(pi/4) − 0.15·Cos(2·pi/4)).
// The last term, N(pi/4) − 57.5 (so that L meets N there), depends on pi alone: worked out once,
// it gives the same heights without two cosines each.
inline double straightJoin(double pi) {
  return 50 * (std::cos(pi / 4) - 0.15 * std::cos(2 * pi / 4));
}
inline double straightLift(double x, double pi, double join) {
  return 57.5 - 18 * (x - pi / 4) + join;
}
// Long lobe: E(x) = N(x) before pi/4, then the straight descent L(x); `normal` is N(x).
inline double extendedLift(double x, double pi, double join, double normal) {
  return x < pi / 4 ? normal : straightLift(x, pi, join);
}

// R.P.M. shown for a speed setting: Int((3.9·rpm)^1.18)·100. A speed at or below 0 (never
// produced by the mouse or the walk) reads 0 instead of taking the power of a negative number.
inline double rpmReadout(double rpm) {
  const double speed = rpm > 0 ? rpm : 0;
  return Int(std::pow(3.9 * speed, 1.18)) * 100;
}

// Load percentage of an operating point, before the view caps it at 100:
// Int(0.965·(62 + Int(27·(endin − 0.045·rpm·(100 − 55·endin)/100)))).
inline double loadPercent(double endin, double rpm) {
  return Int(0.965 * (62 + Int(27 * (endin - 0.045 * rpm * (100 - 55 * endin) / 100))));
}

}  // namespace corvane
