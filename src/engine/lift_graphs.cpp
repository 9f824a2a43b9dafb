// The small lift graphs above the engines: valve position against crank angle, drawn a
// stretch per step. A point is x = g + 4 angle, y = -60 - 4 position, so a closed valve plots
// at 4 and a fully open one at 68; each stretch first wipes the band it is about to draw in.
#include <cmath>

#include "core/drawing.h"
#include "engine/figure.h"

namespace corvane {

namespace {

constexpr double kBandLow = -5, kBandHigh = 85;
constexpr double kFirstAngle = -1.47;  // times pi: the graphs are drawn from just after it

double plotY(double position) {
  return -60 - 4 * position;
}

// A trace of one valve from the previous angle to the current one, in graph g.
void trace(Program& p, double g, double previous, double current, Colour c) {
  p.sf.Line(g + 4 * p.st.ang1, plotY(previous), g + 4 * p.st.ang, plotY(current), c);
}

void wipe(Program& p, double g) {
  p.sf.Box(g + 4 * p.st.ang1 + 1, kBandLow, g + 4 * p.st.ang + 1, kBandHigh, p.st.bco);
}

// At the first step of a cycle, the band from the graph's left edge to one step past the angle
// where the traces begin: a trace drawn at another speed began at another angle, and its left
// end would otherwise stay.
void wipeStart(Program& p, double g) {
  const State& st = p.st;
  const double firstAngle = kFirstAngle * st.pi + 2 * st.pi / 5000 - st.stee;
  p.sf.Box(g - 19, kBandLow, g + 4 * firstAngle + 1, kBandHigh, st.bco);
}

bool newCycle(const State& st) {
  return st.plot == 1 && st.ang1 > st.ang;
}

}  // namespace

// The conventional engine's graph. Skipped where the Corvane intake valve jumps or the angle
// wraps to a new cycle, so that no line crosses the graph.
void firstLiftGraph(Program& p) {
  const State& st = p.st;
  if (newCycle(st)) {
    const PenWidth pen(p.sf, 3);
    wipeStart(p, -64);
  }
  if (!(st.plot == 1 && std::abs(st.liftc - st.liftc1) < 5 && std::abs(st.ang1 - st.ang) < 2 &&
        st.ang1 > kFirstAngle * st.pi))
    return;
  const PenWidth pen(p.sf, 3);
  wipe(p, -64);
  if (st.lifto1 < -16) trace(p, -64, st.lifto1, st.lifto, kRed);
  trace(p, -64, st.lift1, st.lift, kTeal);
}

// Hiding the graphs: wipe the four graph areas.
void hideLiftGraphs(Program& p) {
  State& st = p.st;
  for (double x : {-83.0, -8.0, 67.0, 142.0})
    p.sf.Box(x, -5, x + 53, 70, st.bco);
  st.plot = 0;
}

// The Tessimo, Lumivent and Corvane graphs, within one cycle's angle only.
void hydraulicLiftGraphs(Program& p) {
  const State& st = p.st;
  if (newCycle(st)) {
    const PenWidth pen(p.sf, 3);
    for (const double g : {11.0, 86.0, 161.0})
      wipeStart(p, g);
  }
  if (!(st.plot == 1 && st.ang1 > kFirstAngle * st.pi && st.ang < 2.25 * st.pi && st.ang1 < st.ang))
    return;
  const PenWidth pen(p.sf, 3);
  wipe(p, 11);
  trace(p, 11, st.lifto1, st.lifto, kRed);
  trace(p, 11, st.lifta1, st.lifta, kTeal);
  wipe(p, 86);
  trace(p, 86, st.lifto1, st.lifto, kRed);
  trace(p, 86, st.liftb1, st.liftb, kTeal);
  wipe(p, 161);
  trace(p, 161, st.liftc1, st.liftc, kTeal);
  trace(p, 161, st.lifte1, st.lifte, kRed);
}

}  // namespace corvane
