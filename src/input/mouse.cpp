// The mouse: the pointer's height sets the speed, its left-right position the load, and the
// narrow zones beside the solenoid spots the four timings; a press switches the automatic
// changes; a double click ends the program. X and Y are in the scale of the view in force.
#include <cmath>

#include "engine/figure.h"
#include "graphs/readouts.h"
#include "input/handlers.h"
#include "input/pointer.h"

namespace corvane {

float speedAt(float Y) {
  const float rpm = (Y + 385) / 44;
  return rpm >= kLowestRpm ? rpm : kLowestRpm;
}

double loadAt(const State& st, float X) {
  return 1.9 + (-220 + X / st.s1) / 80;
}

void steeFromRpm(State& st) {
  st.stee = -(std::abs(st.rpm) * std::abs(st.rpm)) / 700;
}

namespace {

// In the graph views the whole window sets the speed; in the engine view and on the help
// page only the strip left of the speed arrows does. The step follows on every move.
void speedFromPointer(State& st, float X, float Y) {
  if (X < -50 || isGraphView(st.moo)) st.rpm = speedAt(Y);
  steeFromRpm(st);
}

// A zone is 10 units wide about its spot's x and open at both ends of its Y range.
bool inZone(float X, float Y, double centreX, double yLow, double yHigh) {
  return std::abs(X - centreX) < 5 && Y > yLow && Y < yHigh;
}

// The four spot zones, each tested on its own. Angles counted forward from top dead centre
// (zones 1 and 4) grow by one radian per 40 units down from Y = -13; those counted back from
// the next top dead centre (zones 2 and 3) shrink by as much. An angle outside the accepted
// range leaves the timing where it was.
void timingsFromPointer(State& st, float X, float Y) {
  const double offset = st.ra / 1.6;  // the spots stand 31.25 units beside the cylinder axes
  const double pi = st.pi;
  if (inZone(X, Y, kTessimo - offset, -190, 10)) {
    const float t = (-Y - 13) / 40;
    if (t > 0 && t < 1.35 * pi) st.ingoing = t;
  }
  if (inZone(X, Y, kLumivent - offset, -260, 10)) {
    const double t = 2 * pi + static_cast<float>((Y + 13) / 40);
    if (t > 0 && t < 2 * pi) st.outgoing = t;
  }
  if (inZone(X, Y, kCorvane - offset, -260, 10)) {
    const double t = 2 * pi + static_cast<float>((Y + 13) / 40);
    if (t > 1.1 * pi && t < 2.05 * pi) st.outgoingd = t;
  }
  if (inZone(X, Y, kCorvane + offset, -260, 20)) {
    const float t = (-Y - 13) / 40;
    if (t > -0.2 * pi && t < 1.6 * pi) st.outgoingde = t;
  }
}

}  // namespace

void Form_MouseMove(Program& p, int /*Button*/, int /*Shift*/, float X, float Y) {
  State& st = p.st;
  speedFromPointer(st, X, Y);
  st.endin = loadAt(st, X);
  timingsFromPointer(st, X, Y);
}

// In the engine view a press switches the drift of the timing spots; elsewhere the random
// change of speed and load. Switched off in the crank-angle view, it leaves one background
// dot 10 units below the speed gauge's marker.
void Form_MouseDown(Program& p, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {
  State& st = p.st;
  if (st.moo == kEngineView) {
    st.mom = Mod(st.mom + 1, 2);
    return;
  }
  st.mo = Mod(st.mo + 1, 2);
  if (st.mo == 0 && st.moo == kCrankView) {
    const GaugePoint g = gaugePoint(st.s1, st.rpm, 10);
    p.sf.PSet(g.x, g.y, st.bco);
  }
}

void Form_DblClick(Program& p) {
  p.host.End();
}

}  // namespace corvane
