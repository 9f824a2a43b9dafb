// Cost of one graph pass at 1920x1080 headless: a changed pass of each view (the time view
// with its erase pass), an unchanged pass, and the logic alone on a surface that paints nothing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

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

// The automatic change switched on, and `passes` passes of its walk (1200 are 20 s of it at 60
// passes a second), without the pause of the time view.
void walk(InView<RasterSurface>& v, long passes) {
  v.p.st.mo = 1;
  v.p.st.delno = 1;
  for (; passes > 0; --passes)
    graphPass(v.p);
}

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

// The automatic change: every pass a new operating point, as the random walk gives them. The
// cache meets the walk's area lines again and again once it has run for a while: its passes
// are timed after `warm` passes (1200 are 20 s of the walk at 60 passes a second); 0 times them
// from the first, while the cache fills.
void walkingPass(benchmark::State& state, int moo) {
  InView<RasterSurface> v(moo);
  const bool cached = state.range(0) == 1;
  v.sf.setShapeCache(cached);
  walk(v, state.range(1));
  for (auto _ : state)
    graphPass(v.p);
  state.counters["shapes"] = static_cast<double>(v.sf.cachedShapes());
  state.counters["runs"] = static_cast<double>(v.sf.cachedRuns());
  state.SetLabel(!cached              ? "plain cairo"
                 : state.range(1) > 0 ? "shape cache, after the warm-up"
                                      : "shape cache, from the first");
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
// The time view under the automatic change as a user meets it: after 20 s of the walk in the
// crank-angle view, whose area lines fill the cache, so that the time view's lines lie among
// them. The graph pass alone, without presenting.
void BM_TimeWalkingPassAfterCrankAngleWalk(benchmark::State& state) {
  InView<RasterSurface> v(1);
  walk(v, 1200);
  v.p.st.moo = 0;
  v.p.st.clse = 1;
  for (int i = 0; i < 300; ++i)
    graphPass(v.p);
  for (auto _ : state)
    graphPass(v.p);
  state.counters["shapes"] = static_cast<double>(v.sf.cachedShapes());
}
BENCHMARK(BM_TimeWalkingPassAfterCrankAngleWalk)->Iterations(2000)->Unit(benchmark::kMillisecond);

// The crank-angle walking pass after 20 s of the walk, each pass after the idle of a frame at
// 60 passes a second, as in the window: asleep (argument 0) or busy without touching memory
// (1). Against the passes back to back, this is what the caches forget in between.
void BM_CrankAngleWalkingPassAfterIdle(benchmark::State& state) {
  InView<RasterSurface> v(1);
  walk(v, 1200);
  const auto idle = std::chrono::milliseconds(14);
  for (auto _ : state) {
    state.PauseTiming();
    if (state.range(0) == 0) {
      std::this_thread::sleep_for(idle);
    } else {
      for (const auto until = std::chrono::steady_clock::now() + idle;
           std::chrono::steady_clock::now() < until;) {
      }
    }
    state.ResumeTiming();
    graphPass(v.p);
  }
  state.SetLabel(state.range(0) == 0 ? "after 14 ms asleep" : "after 14 ms busy");
}
BENCHMARK(BM_CrankAngleWalkingPassAfterIdle)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

// One run each of a fixed length, so that the warm-up is not repeated for every trial length.
void walkingArgs(benchmark::internal::Benchmark* b) {
  b->Args({0, 0})->Args({1, 0})->Args({1, 1200})->Iterations(2000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_CrankAngleWalkingPass)->Apply(walkingArgs);
BENCHMARK(BM_TimeWalkingPass)->Apply(walkingArgs);
BENCHMARK(BM_UnchangedPass)->Arg(1)->Arg(0)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace corvane
