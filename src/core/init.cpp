#include <cmath>

#include "core/main_loop.h"

namespace corvane {

void initialise(Program& p) {
  State& st = p.st;
  st.xa = 0;
  st.load = 45;
  st.pi = 4 * std::atan(1.0);
  st.ra = 50;
  st.devva = 0;
  st.plot = 1;
  st.plott = 1;
  st.fco = kBlack;
  st.bco = kWhite;
  st.cylcyl = 1;
  st.dx = 0.01;
  st.endin = 1 - st.pi;
  st.rpm = 8;
  st.rpm1 = 5;
  st.stee = -(std::abs(st.rpm) * std::abs(st.rpm)) / 700;
  st.drpm = 1;
  st.dendin = 1;
  st.moo = 2;
  st.clse = 1;
  st.s1 = 1;
  st.s = st.rpm * 225;
  st.ingoing = st.pi / 2;
  st.outgoing = (st.pi * 3) / 2;
  st.outgoingd = (st.pi * 3) / 2;
  st.outgoingde = 0.14;
}

}  // namespace corvane
