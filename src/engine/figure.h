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

// How a moving part is drawn: a step erases it where it stood and draws it at its new place;
// InPlace draws it once where the last step left it and erases nothing, for a figure drawn
// afresh (an erase there would only wipe static pixels under the old place).
enum class Draw { Step, InPlace };

void piston(Program& p, double a, Draw d = Draw::Step);  // outline and pin, yy1 to yy
void crank(Program& p, double a, Draw d = Draw::Step);   // rod, arm, crank pin, main journal
void cylinder(Program& p, double a);                     // walls and head face (static)
void invalve(Program& p, double a, double lt, double lt1, Draw d = Draw::Step);  // intake valve
void outvalve(Program& p, double a, double lifto, double lifto1, Draw d = Draw::Step);  // exhaust
void oilchamber(Program& p, double a);  // Tessimo / Lumivent oil chamber (static)
void oilcham(Program& p, double a);     // Corvane intake oil chamber
void oilchame(Program& p, double a);    // Corvane exhaust oil chamber
void cams(Program& p);                  // fills camnormal and camlong
// The solenoid spots: Tessimo, Lumivent, Corvane intake, Corvane exhaust.
void ingoi(Program& p, double a, Draw d = Draw::Step);
void outgo(Program& p, double a, Draw d = Draw::Step);
void outgod(Program& p, double a, Draw d = Draw::Step);
void outgode(Program& p, double a, Draw d = Draw::Step);

// --- Parts of one step that the step draws itself ---
// The normal lobes of the engines at -75, 0 and 150 turned from ang1/2 to ang/2, and their
// base circles; then the long lobe of the Lumivent engine and its base circle.
void normalCams(Program& p, Draw d = Draw::Step);
void longCam(Program& p, Draw d = Draw::Step);
// Oil column, collar bars and solenoid mark of the Corvane intake valve.
void corvaneIntakeRod(Program& p, Draw d = Draw::Step);
// Push rod, oil-flow bar, tappet, valve and solenoid mark of the two middle engines.
void tessimoRod(Program& p, Draw d = Draw::Step);
void lumiventRod(Program& p, Draw d = Draw::Step);
// Oil column and collar of the Corvane exhaust valve, shown while the graphs are hidden.
void corvaneExhaustColumn(Program& p, Draw d = Draw::Step);
// The small lift graphs: the conventional engine's, the erase of all four when hidden, and
// those of the three hydraulic engines.
void firstLiftGraph(Program& p);
void hideLiftGraphs(Program& p);
void hydraulicLiftGraphs(Program& p);

}  // namespace corvane
