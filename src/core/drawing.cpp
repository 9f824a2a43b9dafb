#include "core/drawing.h"

namespace corvane {

void textAt(Program& p, double x, double y, std::string_view text) {
  p.sf.PSet(x, y, p.st.bco);
  p.sf.Print(text);
}

}  // namespace corvane
