// The three lift graphs: for each, the valve-time area, the axis and ticks, then the curve,
// so that the axis and the curve stay visible over the area lines.
#include "graphs/lift_curves.h"

#include "graphs/lift_heights.h"
#include "text/titles.h"

#include <vector>

namespace corvane {

namespace {

struct Span {
  double from, to;
};

struct LiftGraph {
  double y0;         // baseline: lift 0
  bool extended;     // long lobe E up to 1.89·pi; otherwise the normal lobe N up to pi
  Colour area;       // colour of the area while the valve is open
  bool closesLater;  // closes at endin (ingoing control); else at pi/1.1 − endin (outgoing)
  Span tick;         // the ticks at −23·pi and 15·pi
  Span fixed[2];     // the fixed parts of the tick at 53·pi
  int fixedParts;
  Span middle;  // the middle part of the tick at 53·pi, left out at some time scales
  bool inkFco;  // axis and ticks in fco given explicitly rather than in ForeColor
};

constexpr LiftGraph kTop{-57.5, false,     kBrightGreen, true, {-60, 50}, {{-60, -46}, {0, 0}},
                         1,     {-46, 50}, false};
constexpr LiftGraph kMiddle{
    -207.5, true, kRed, true, {-210, -100}, {{-210, -165}, {-115, -100}}, 2, {-165, -115}, false};
constexpr LiftGraph kBottom{
    -327.5, true, kBlue, false, {-330, -220}, {{-330, -285}, {-235, -220}}, 2, {-285, -235}, true};

double stepOf(const State& st) {
  return st.dx > 0 ? st.dx : 0.01;
}

// The lift heights at step i of the loops below. Every loop counts from -pi in the same steps,
// so its i-th abscissa is the same bit for bit and each height is worked out once per pass
// rather than up to six times: the cosines were a tenth of a pass under the automatic change.
class Heights {
 public:
  explicit Heights(const State& st) {
    const double pi = st.pi, end = 1.89 * pi, dx = stepOf(st), join = straightJoin(pi);
    for (double x = -pi;; x += dx) {
      normal_.push_back(normalLift(x));
      extended_.push_back(extendedLift(x, pi, join, normal_.back()));
      if (!(x <= end)) break;  // one step beyond the last: the far end of the last segment
    }
  }
  double normal(std::size_t i) const { return normal_[i]; }
  double extended(std::size_t i) const { return extended_[i]; }

 private:
  std::vector<double> normal_, extended_;
};

// How the lines go down: drawn (area in its colour up to the closing angle, the rest in the
// foreground) or erased (everything in bco). `speed` slants the area lines.
struct Ink {
  bool erase;
  double speed;
  bool middleTick;
  const Heights& heights;
};
double lastX(const LiftGraph& g, double pi) {
  return g.extended ? 1.89 * pi : pi;
}
double closing(const LiftGraph& g, const State& st) {
  return g.closesLater ? st.endin : st.pi / 1.1 - st.endin;
}

void stroke(Program& p, const Ink& ink, bool inkFco, double x1, double y1, double x2, double y2) {
  if (ink.erase) {
    p.sf.Line(x1, y1, x2, y2, p.st.bco);
  } else if (inkFco) {
    p.sf.Line(x1, y1, x2, y2, p.st.fco);
  } else {
    p.sf.Line(x1, y1, x2, y2);
  }
}

// One area line at abscissa x, step i: from the baseline, lift·speed/20 units right of
// X = 30·x, up to the lift over X; in bco past the closing angle, which clears what an earlier
// pass coloured.
void areaLine(Program& p, const LiftGraph& g, double x, std::size_t i, const Ink& ink) {
  State& st = p.st;
  const double X = 30 * x;
  st.lift = g.extended ? ink.heights.extended(i) : ink.heights.normal(i);
  const bool open = !ink.erase && x <= closing(g, st);
  p.sf.Line(X + st.lift * ink.speed / 20, g.y0, X, g.y0 + st.lift, open ? g.area : st.bco);
}

// The loops count with ang, as the platform's counted loops do: x += dx while x <= end.
void area(Program& p, const LiftGraph& g, const Ink& ink) {
  State& st = p.st;
  const double end = lastX(g, st.pi), dx = stepOf(st);
  std::size_t i = 0;
  for (st.ang = -st.pi; st.ang <= end; st.ang += dx)
    areaLine(p, g, st.ang, i++, ink);
}

void axisAndTicks(Program& p, const LiftGraph& g, const Ink& ink) {
  const double pi = p.st.pi;
  stroke(p, ink, g.inkFco, -30 * pi, g.y0, 60 * pi, g.y0);
  for (const double X : {-23 * pi, 15 * pi})
    stroke(p, ink, g.inkFco, X, g.tick.from, X, g.tick.to);
  for (int i = 0; i < g.fixedParts; ++i)
    stroke(p, ink, g.inkFco, 53 * pi, g.fixed[i].from, 53 * pi, g.fixed[i].to);
  if (ink.middleTick) stroke(p, ink, g.inkFco, 53 * pi, g.middle.from, 53 * pi, g.middle.to);
}

// Segments from x to x' = x + dx (ang to ang1). The long lobe joins N and its straight part
// at pi/4; a step that starts exactly there draws nothing.
void curve(Program& p, const LiftGraph& g, const Ink& ink) {
  State& st = p.st;
  const double pi = st.pi, end = lastX(g, pi), dx = stepOf(st);
  const Heights& h = ink.heights;
  std::size_t i = 0;
  for (st.ang = -pi; st.ang <= end; st.ang += dx, ++i) {
    st.ang1 = st.ang + dx;
    const double x = st.ang, x2 = st.ang1;
    if (!g.extended || x < pi / 4) {
      stroke(p, ink, false, 30 * x, h.normal(i) + g.y0, 30 * x2, h.normal(i + 1) + g.y0);
    } else if (x > pi / 4) {
      stroke(p, ink, false, 30 * x, h.extended(i) + g.y0, 30 * x2, h.extended(i + 1) + g.y0);
    }
  }
}

void liftGraph(Program& p, const LiftGraph& g, const Ink& ink) {
  area(p, g, ink);
  axisAndTicks(p, g, ink);
  curve(p, g, ink);
}

}  // namespace

void drawLiftGraphs(Program& p) {
  const State& st = p.st;
  const Heights heights(st);
  const Ink ink{false, st.rpm, st.moo == kCrankView || showsMiddleTick(st.s1), heights};
  liftGraph(p, kBottom, ink);
  liftGraph(p, kTop, ink);
  liftGraph(p, kMiddle, ink);
}

void eraseLiftGraphs(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  sf.ScaleWidth(static_cast<float>(st.sl));
  sf.ScaleLeft(static_cast<float>(-103 * st.sl1));
  const Heights heights(st);
  const Ink ink{true, st.rpm1, showsMiddleTick(st.sl1), heights};
  liftGraph(p, kBottom, ink);
  // The top and middle areas go together; the middle area beyond pi was drawn in bco already.
  const double dx = stepOf(st);
  std::size_t i = 0;
  for (st.ang = -st.pi; st.ang <= st.pi; st.ang += dx, ++i) {
    areaLine(p, kTop, st.ang, i, ink);
    areaLine(p, kMiddle, st.ang, i, ink);
  }
  axisAndTicks(p, kMiddle, ink);
  curve(p, kMiddle, ink);
  axisAndTicks(p, kTop, ink);
  curve(p, kTop, ink);
  deltitles(p, st.sl1);  // the marks stand where the old scale put them
  sf.ScaleWidth(static_cast<float>(st.s));
  sf.ScaleLeft(static_cast<float>(-103 * st.s1));
  titles1(p);
}

}  // namespace corvane
