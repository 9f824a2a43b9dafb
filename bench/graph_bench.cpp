// Cost of one graph pass at 1920x1080 headless: a changed pass of each view (the time view
// with its erase pass), an unchanged pass, and the logic alone on a surface that paints nothing.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/engine_view.h"
#include "core/init.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/scripted_host.h"
#include "graphs/graph_view.h"

namespace corvane {
namespace {

// A program in a graph view, entered from the engine view as the space bar does it.
template <class SurfaceT>
struct InView {
  SurfaceT sf{1920, 1080};
  ScriptedHost host;
  Program p{sf, host};

  explicit InView(int moo) {
    initialise(p);
    engineViewSettings(p);
    for (int view = 1; view >= moo; --view) {
      p.st.moo = view;
      p.st.clse = 1;
      graphPass(p);
    }
  }
};

// Each iteration moves the operating point between two others, so every pass is a changed one.
template <class SurfaceT>
void changedPass(benchmark::State& state, int moo) {
  InView<SurfaceT> v(moo);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    v.p.st.rpm = flip ? 5 : 6;
    v.p.st.endin = flip ? 0.4 : -0.6;
    graphPass(v.p);
  }
}

void BM_CrankAngleChangedPass(benchmark::State& s) {
  changedPass<RasterSurface>(s, 1);
}
void BM_TimeChangedPass(benchmark::State& s) {
  changedPass<RasterSurface>(s, 0);
}
void BM_CrankAngleChangedPassLogicOnly(benchmark::State& s) {
  changedPass<Surface>(s, 1);
}
void BM_TimeChangedPassLogicOnly(benchmark::State& s) {
  changedPass<Surface>(s, 0);
}

// The automatic change: every pass a new operating point, as the random walk gives them.
void walkingPass(benchmark::State& state, int moo) {
  InView<RasterSurface> v(moo);
  v.sf.setShapeCache(state.range(0) == 1);
  v.p.st.mo = 1;
  v.p.st.delno = 1;
  for (auto _ : state)
    graphPass(v.p);
  state.SetLabel(state.range(0) == 1 ? "shape cache" : "plain cairo");
}

void BM_CrankAngleWalkingPass(benchmark::State& s) {
  walkingPass(s, 1);
}
void BM_TimeWalkingPass(benchmark::State& s) {
  walkingPass(s, 0);
}

void BM_UnchangedPass(benchmark::State& state) {
  InView<RasterSurface> v(static_cast<int>(state.range(0)));
  for (auto _ : state)
    graphPass(v.p);
}

BENCHMARK(BM_CrankAngleChangedPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeChangedPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrankAngleChangedPassLogicOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeChangedPassLogicOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrankAngleWalkingPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeWalkingPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedPass)->Arg(1)->Arg(0)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace corvane
