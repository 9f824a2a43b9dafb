// Numbers as Print shows them: a blank before a number that is not negative, one after
// every number, no leading zero before the decimal point (" 5700 ", "-17 ", " .5 ").
#pragma once

#include <string>

namespace corvane {

std::string numberText(double v);

}  // namespace corvane
