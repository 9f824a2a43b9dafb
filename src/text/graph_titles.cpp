#include "text/titles.h"

namespace corvane {

void titles(Program&) {}
void titles1(Program&) {}
void deltitles(Program&) {}

}  // namespace corvane
