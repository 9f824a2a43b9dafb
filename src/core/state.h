// Every variable of the program, under its own name. Numbers are doubles, flags and counters
// ints, colours Colour; a variable that nothing assigned reads 0.
#pragma once

#include <array>

#include "display/colour.h"

namespace corvane {

// The views of `moo`. The space bar steps 2 -> 1 -> 0 -> 3 -> 2.
inline constexpr int kTimeView = 0;    // valve lift against time
inline constexpr int kCrankView = 1;   // valve lift against crank angle
inline constexpr int kEngineView = 2;  // the four moving engines
inline constexpr int kHelpView = 3;    // the help page
// The two graph views, which share one pass of the main loop.
inline constexpr bool isGraphView(int moo) {
  return moo < kEngineView;
}

struct State {
  // --- Settings and views ---
  double endin = 0;  // load: valve-closing angle of the graph view, rad
  double rpm = 0;    // engine-speed setting
  double pi = 0;     // 4 * Atn(1)
  int mo = 0;        // automatic change of speed and load in the graph views
  int moo = 0;       // view: 2 engines, 1 lift v. crank angle, 0 lift v. time, 3 help page
  double s = 0;      // width of the time axis (ScaleWidth of the time view)
  double s1 = 0;     // horizontal scale factor of the graph views
  double sl = 0;     // s of the previous time-view pass
  double sl1 = 0;    // s1 of the previous time-view pass
  int delno = 0;     // 1: no pacing delay of the automatic change in the time view
  int cylcyl = 0;    // 1: the engine view clears and draws its static figure on entry
  double stee = 0;   // extra crank-angle advance per step (negative), rad
  double ra = 0;     // crank radius, the base length of the figure

  // --- Crank and piston ---
  double wx = 0, wy = 0;    // crank pin relative to the crank centre
  double wx1 = 0, wy1 = 0;  // ... at the previous step
  double yy = 0;            // piston-pin y
  double yy1 = 0;           // ... at the previous step
  double rod = 0;           // connecting-rod length

  // --- Valve positions (y of the valve head: -16 closed, more negative more open) ---
  double lift = 0;    // normal lobe, then (second half of a step) the long lobe
  double lift1 = 0;   // normal lobe at the previous step
  double lift11 = 0;  // long lobe at the previous step
  double lifto = 0;   // exhaust lobe (exhaust valve of the three left engines)
  double lifto1 = 0;
  double lifta = 0;  // Tessimo intake valve
  double lifta1 = 0;
  double liftb = 0;  // Lumivent intake valve
  double liftb1 = 0;
  double liftc = 0;  // Corvane intake valve
  double lifte = 0;  // Corvane exhaust valve
  double lifte1 = 0;
  double kkk = 0;  // normal lobe of the current step, kept while lift holds the long lobe

  // --- Solenoid timings and their spots ---
  double ingoing = 0;                     // Tessimo solenoid opens, crank angle
  double outgoing = 0;                    // Lumivent solenoid opens
  double outgoingd = 0;                   // Corvane intake solenoid opens
  double outgoingde = 0;                  // Corvane exhaust solenoid opens
  double yyw = 0, yyw1 = 0;               // Tessimo spot height, now and last drawn
  double yywo = 0, yyw1o = 0;             // Lumivent spot
  double yywd = 0, yywd1 = 0;             // Corvane intake spot
  double yywe = 0, yywe1 = 0;             // Corvane exhaust spot
  int hj = 0, hjo = 0, hjd = 0, hje = 0;  // drift directions of the four timings
  int mom = 0;                            // automatic drift of the timings (engine view)

  // --- Flags and requests ---
  int redraw = 0;   // 1: the graph view clears and redraws its titles
  int stall = 0;    // 1: animation paused
  int stall9 = 0;   // 1: step mode
  int clse = 0;     // 1: the graph view clears on its next pass
  int devva = 0;    // label of the left engine: 0 "Normal", 1 "Corvane"
  int plot = 0;     // lift graphs of the engine view: 1 shown, 2 to be erased, 0 hidden
  int plott = 0;    // 1: the figures that replace the hidden graphs are still to be drawn
  double rpm1 = 0;  // rpm at the last graph redraw

  // --- Colours ---
  Colour bco = 0;   // background; drawing in it erases
  Colour bco1 = 0;  // bco before the last colour reversal
  Colour fco = 0;   // foreground

  // --- Cam lobes: radius every 0.1 rad of cam angle ---
  std::array<double, 25> camnormal{};
  std::array<double, 35> camlong{};

  // --- Working values of the engine view and the lift laws ---
  double ang = 0;                      // crank angle, rad; also the graph view's loop variable
  double ang1 = 0;                     // crank angle last drawn
  double camAng = 0;                   // the normal lobes' crank angle; ang1 follows at step end
  double xa = 0;                       // x of the engine whose push rod is being drawn
  double liftc1 = 0;                   // liftc at the start of the step
  double holdc = 0, holde = 0;         // hold levels of the Corvane valves
  int heldc = 0, helde = 0;            // 1 once a Corvane hold has taken its first step
  int na = 0, nb = 0, nc = 0, ne = 0;  // steps since each solenoid opened
  double lifta0 = 0, liftb0 = 0;       // valve positions captured as the solenoid opened

  // --- Working values of the graph view and its automatic change ---
  int moo1 = 0;       // view of the previous graph pass
  double endin1 = 0;  // endin at the end of the previous pass
  double load = 0;    // load percentage shown
  double load1 = 0;   // load before its last update
  double loadg = 0;   // load at which the load gauge's gap stands
  double rpmd = 0;    // R.P.M. shown
  double dx = 0;      // abscissa step of the curves, rad
  double drpm = 0;    // direction of the speed walk
  double dendin = 0;  // direction of the load walk
  double rpm2 = 0;    // rpm before this pass's walk step
  double endin2 = 0;  // endin before this pass's walk step
};

}  // namespace corvane
