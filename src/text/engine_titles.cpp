#include "text/titles.h"

namespace corvane {

void titl(Program&) {}

}  // namespace corvane
