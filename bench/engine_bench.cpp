// One step of the engine view on the raster surface at 1920 x 1080, headless: the erase and
// redraw of every moving part, with the scripted host standing in for the window. Argument 1
// paints from the shape cache, 0 with plain cairo for every shape.
#include <benchmark/benchmark.h>

#include "harness.h"

namespace {

using namespace corvane;

void BM_EngineStep(benchmark::State& state) {
  test::Rastered view;
  view.startEngineView();
  view.sf.setShapeCache(state.range(0) == 1);
  for (int i = 0; i < 300; ++i)
    view.step();  // two cycles: every part has been drawn
  for (auto _ : state)
    view.step();
  state.counters["shapes"] = static_cast<double>(view.sf.cachedShapes());
  state.counters["runs"] = static_cast<double>(view.sf.cachedRuns());
  state.SetLabel(state.range(0) == 1 ? "1920x1080 shape cache" : "1920x1080 plain cairo");
}
BENCHMARK(BM_EngineStep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
