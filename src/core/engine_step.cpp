#include "core/engine_step.h"

namespace corvane {

void engineStep(Program& p) {
  p.st.ang -= p.st.stee;
}

}  // namespace corvane
