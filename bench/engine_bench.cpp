// One step of the engine view on the raster surface at 1920 x 1080, headless: the erase and
// redraw of every moving part, with the scripted host standing in for the window. Argument 1
// paints from the shape cache, 0 with plain cairo for every shape.
#include <benchmark/benchmark.h>

#include "core/engine_step.h"
#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/scripted_host.h"
#include "engine/figure.h"

namespace {

using namespace corvane;

// The engine view as the main loop sets it up, then steps of its crank-angle loop.
struct EngineView {
  RasterSurface sf{1920, 1080};
  ScriptedHost host;
  Program p{sf, host};

  EngineView() {
    initialise(p);
    cams(p);
    sf.Cls();
    sf.ScaleLeft(-110);
    sf.ScaleWidth(300);
    sf.ScaleTop(150);
    sf.DrawWidth(3);
    sf.BackColor(p.st.bco);
    sf.ForeColor(p.st.fco);
    p.st.cylcyl = 0;
    sf.Cls();
    engineStatics(p);
    p.st.ang = -1.5 * p.st.pi;
  }

  // One pass of the crank-angle loop: the step, then the loop's own advance and wrap.
  void step() {
    State& st = p.st;
    engineStep(p);
    st.ang1 = st.ang;
    st.ang += 2 * st.pi / 5000;
    if (st.ang > 2.5 * st.pi) st.ang = -1.5 * st.pi;
  }
};

void BM_EngineStep(benchmark::State& state) {
  EngineView view;
  view.sf.setShapeCache(state.range(0) == 1);
  for (int i = 0; i < 300; ++i)
    view.step();  // two cycles: every part has been drawn
  for (auto _ : state)
    view.step();
  state.SetLabel(state.range(0) == 1 ? "1920x1080 shape cache" : "1920x1080 plain cairo");
}
BENCHMARK(BM_EngineStep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
