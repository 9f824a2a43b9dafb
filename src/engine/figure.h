// The drawing procedures of the engine view. `a` is the x of an engine's cylinder axis:
// -75 conventional, 0 Tessimo, 75 Lumivent, 150 Corvane. Moving parts are erased by drawing
// them again in bco at the previous position, then drawn at the new one.
#pragma once

#include <array>

#include "core/program.h"

namespace corvane {

// The engine positions `a`, left to right.
inline constexpr double kNormalEngine = -75;  // conventional, throttled
inline constexpr double kTessimo = 0;
inline constexpr double kLumivent = 75;
inline constexpr double kCorvane = 150;
// The Corvane exhaust chamber stands 1.1 left of its engine, so that its bore meets the
// exhaust valve's stem.
inline constexpr double kCorvaneExhaustChamber = 148.9;
inline constexpr std::array<double, 4> kEngines{kNormalEngine, kTessimo, kLumivent, kCorvane};

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

// --- Parts of one step that the step draws itself ---
// The normal lobes of the engines at -75, 0 and 150 turned from ang1/2 to ang/2, and their
// base circles; then the long lobe of the Lumivent engine and its base circle.
void normalCams(Program& p);
void longCam(Program& p);
// Oil column, collar bars and solenoid mark of the Corvane intake valve.
void corvaneIntakeRod(Program& p);
// Push rod, oil-flow bar, tappet, valve and solenoid mark of the two middle engines.
void tessimoRod(Program& p);
void lumiventRod(Program& p);
// Oil column and collar of the Corvane exhaust valve, shown while the graphs are hidden.
void corvaneExhaustColumn(Program& p);
// The small lift graphs: the conventional engine's, the erase of all four when hidden, and
// those of the three hydraulic engines.
void firstLiftGraph(Program& p);
void hideLiftGraphs(Program& p);
void hydraulicLiftGraphs(Program& p);

}  // namespace corvane
