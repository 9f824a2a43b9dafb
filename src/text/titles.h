// Captions of the views: engine names, speed arrows and key reminder of the engine view
// (titl); crank-angle marks, key reminder and graph names of the graph views (titles).
#pragma once

#include "core/program.h"

namespace corvane {

void titl(Program& p);
void engineLabel(Program& p);  // the T key's label, "Normal" or "Corvane"
void titles(Program& p);
void titles1(Program& p);               // the crank-angle marks alone
void deltitles(Program& p, double s1);  // wipes the marks drawn at the scale of factor s1

}  // namespace corvane
