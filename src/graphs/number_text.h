// Whole numbers as Print shows them: a blank before a number that is not negative, one after
// every number (" 5700 ", "-17 "). The readouts show nothing else.
#pragma once

#include <string>

namespace corvane {

std::string numberText(double v);

}  // namespace corvane
