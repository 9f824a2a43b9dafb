// The cams above the intake valves: the two lobe tables, filled once, and the lobes turned by
// one step. The camshaft turns at half the crank angle; entries lie 0.1 rad of cam apart.
#include <cmath>
#include <cstddef>

#include "engine/figure.h"

namespace corvane {

namespace {

constexpr double kCamY = 118;
constexpr double kNormalPhase = 0.94;
constexpr double kLongPhase = -0.1;
constexpr double kBaseRadius = 11;

// Entry i at crank angle t: phi = t/2 + 0.5 i 0.2 + phase, point (cx + R sin phi,
// 118 + 2 R cos phi); y doubled so the lobe looks round on screen, 0 straight up, clockwise.
template <std::size_t N>
void lobePoint(const std::array<double, N>& R, std::size_t i, double t, double phase, double cx,
               double& x, double& y) {
  const double phi = t / 2 + 0.5 * static_cast<double>(i) * 0.2 + phase;
  x = cx + R[i] * std::sin(phi);
  y = kCamY + 2 * R[i] * std::cos(phi);
}

// The normal lobe as the open polyline of its entries, drawn for the cams at -12, -87 and 138
// segment by segment. Entries are read at i and i + 1, so the last segment starts at 23.
void normalLobes(Program& p, double t, Colour c) {
  const auto& R = p.st.camnormal;
  for (std::size_t i = 0; i + 1 < R.size(); ++i) {
    double x1, y1, x2, y2;
    lobePoint(R, i, t, kNormalPhase, -12, x1, y1);
    lobePoint(R, i + 1, t, kNormalPhase, -12, x2, y2);
    p.sf.Line(x1, y1, x2, y2, c);
    p.sf.Line(x1 + kNormalEngine, y1, x2 + kNormalEngine, y2, c);
    p.sf.Line(x1 + kCorvane, y1, x2 + kCorvane, y2, c);
  }
}

void longLobe(Program& p, double t, Colour c) {
  const auto& R = p.st.camlong;
  for (std::size_t i = 0; i + 1 < R.size(); ++i) {
    double x1, y1, x2, y2;
    lobePoint(R, i, t, kLongPhase, 63, x1, y1);
    lobePoint(R, i + 1, t, kLongPhase, 63, x2, y2);
    p.sf.Line(x1, y1, x2, y2, c);
  }
}

}  // namespace

// Normal lobe: rise over 12 entries to the nose radius 19.3, the same fall back to 11. Long
// lobe: a slow rise over 22 entries, then the normal lobe's fall.
void cams(Program& p) {
  State& st = p.st;
  constexpr std::array<double, 13> rise = {11,   11.15, 11.3, 11.5, 12,   12.5, 13.1,
                                           14.2, 15.1,  16.4, 17.8, 18.9, 19.3};
  for (std::size_t i = 0; i < rise.size(); ++i) {
    st.camnormal[i] = rise[i];
    st.camnormal[24 - i] = rise[i];
  }
  constexpr std::array<double, 23> longRise = {11,   11.2, 11.5, 11.8, 12.1, 12.4, 12.7, 13.1,
                                               13.5, 13.9, 14.3, 14.7, 15.1, 15.5, 16,   16.5,
                                               17,   17.5, 18,   18.5, 18.9, 19.1, 19.3};
  for (std::size_t i = 0; i < longRise.size(); ++i)
    st.camlong[i] = longRise[i];
  for (std::size_t i = 23; i < st.camlong.size(); ++i)
    st.camlong[i] = st.camnormal[i - 10];
}

void normalCams(Program& p, Draw d) {
  State& st = p.st;
  if (d == Draw::Step) {
    normalLobes(p, st.ang1, st.bco);
    st.camAng = st.ang;
  }
  normalLobes(p, st.camAng, st.fco);
  p.sf.Circle(-12, kCamY, kBaseRadius, st.fco);
  p.sf.Circle(-87, kCamY, kBaseRadius, st.fco);
  p.sf.Circle(138, kCamY, kBaseRadius, st.fco);
}

// In place both lobes are drawn at camAng, where the normal lobes last stood: ang1 between
// steps, ang within a step that has turned them. A long lobe drawn there early is drawn at ang
// again by the rest of that step, which erases it at ang1 only.
void longCam(Program& p, Draw d) {
  const State& st = p.st;
  if (d == Draw::Step) longLobe(p, st.ang1, st.bco);
  longLobe(p, d == Draw::Step ? st.ang : st.camAng, st.fco);
  p.sf.Circle(63, kCamY, kBaseRadius, st.fco);
}

}  // namespace corvane
