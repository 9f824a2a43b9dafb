// The starting values of the program, set once when the window is first activated. Every
// variable not named here starts at 0; the order is the order of the first run.
#include "core/init.h"

#include <cmath>

namespace corvane {

void initialise(Program& p) {
  State& st = p.st;
  st.xa = 0;                   // no push rod drawn yet
  st.load = 45;                // the load readout's value before the first graph pass computes it
  st.pi = 4 * std::atan(1.0);  // pi to the last bit of a double
  st.ra = 50;                  // crank radius: every length of the engine figure follows from it
  st.devva = 0;                // the left engine labelled "Normal"
  st.plot = 1;                 // the small lift graphs shown
  st.plott = 1;                // the figures that stand in for hidden graphs still to be drawn
  st.fco = kBlack;             // black on white
  st.bco = kWhite;             // ... the background that erases
  st.cylcyl = 1;               // the engine view clears and draws its static figure first
  st.dx = 0.01;                // the graph curves' step: 0.01 rad of crank angle
  st.endin = 1 - st.pi;        // an early closing: the load readout starts at -17 %
  st.rpm = 8;                  // 5700 R.P.M. shown, about 136 steps a crank cycle
  st.rpm1 = 5;                 // differs from rpm, so the first graph pass draws
  st.stee = -(std::abs(st.rpm) * std::abs(st.rpm)) / 700;  // the step that goes with rpm
  st.drpm = 1;                                             // the random walks start upwards
  st.dendin = 1;                                           // ... the load's too
  st.moo = kEngineView;                                    // the engines come first
  st.clse = 1;                     // the graph view clears on its first pass
  st.s1 = 1;                       // the graph views' scale factor before the time view sets it
  st.s = st.rpm * 225;             // the time axis that goes with rpm
  st.ingoing = st.pi / 2;          // Tessimo closes its valve at mid-stroke: part load
  st.outgoing = (st.pi * 3) / 2;   // Lumivent lets air back out until halfway up the stroke
  st.outgoingd = (st.pi * 3) / 2;  // Corvane intake the same, for comparison
  st.outgoingde = 0.14;            // Corvane exhaust released just after top dead centre
}

}  // namespace corvane
