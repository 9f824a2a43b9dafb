// The drawing procedures of the engine view. `a` is the x of an engine's cylinder axis:
// -75 conventional, 0 Tessimo, 75 Lumivent, 150 Corvane.
#pragma once

#include "core/program.h"

namespace corvane {

void piston(Program& p, double a);    // piston outline and pin, erased at yy1, drawn at yy
void crank(Program& p, double a);     // rod, crank arm, crank pin, main journal
void cylinder(Program& p, double a);  // walls and head face (static)
void invalve(Program& p, double a, double lt, double lt1);         // intake valve
void outvalve(Program& p, double a, double lifto, double lifto1);  // exhaust valve
void oilchamber(Program& p, double a);  // Tessimo / Lumivent oil chamber (static)
void oilcham(Program& p, double a);     // Corvane intake oil chamber
void oilchame(Program& p, double a);    // Corvane exhaust oil chamber
void cams(Program& p);                  // fills camnormal and camlong
void ingoi(Program& p, double a);       // Tessimo solenoid spot
void outgo(Program& p, double a);       // Lumivent solenoid spot
void outgod(Program& p, double a);      // Corvane intake solenoid spot
void outgode(Program& p, double a);     // Corvane exhaust solenoid spot

}  // namespace corvane
