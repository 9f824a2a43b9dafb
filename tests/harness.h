// A program on a surface of the test's choice and the scripted host, ready to run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string_view>
#include <vector>

#include "core/engine_step.h"
#include "core/engine_view.h"
#include "core/events.h"
#include "core/init.h"
#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"
#include "engine/figure.h"

namespace corvane::test {

template <class SurfaceT>
struct Harness {
  explicit Harness(int w = 1920, int h = 1080) : sf(w, h), p(sf, host), dispatcher(p) {
    host.setSink(&dispatcher);
  }

  // Runs Form_Activate until the script stops it; true if the program ended with End.
  bool run() {
    try {
      Form_Activate(p);
    } catch (const ScriptStopped&) {
      return false;
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
  // Runs from the start until engine-view step n has been drawn.
  bool runSteps(std::int64_t n) {
    host.stopAfterStep(n);
    return run();
  }

  // Without the main loop: the state at start, the engine view entered and its static
  // figure drawn, the crank at the start of a cycle.
  void startEngineView() {
    initialise(p);
    cams(p);
    engineViewSettings(p);
    p.st.cylcyl = 0;
    sf.Cls();
    engineStatics(p);
    p.st.ang = -1.5 * p.st.pi;
  }
  // One pass of the crank-angle loop without its waits: the step, then the loop's advance,
  // starting a new cycle after the last step.
  void step() {
    State& st = p.st;
    engineStep(p);
    st.ang1 = st.ang;
    st.ang += 2 * st.pi / 5000;
    if (st.ang > 2.5 * st.pi) st.ang = -1.5 * st.pi;
  }

  SurfaceT sf;
  ScriptedHost host;
  Program p;
  Dispatcher dispatcher;
};

// A hash of the picture's pixels as stored, the top byte too, to compare every picture of a
// run cheaply.
inline std::uint64_t pictureHash(const RasterSurface& sf) {
  const auto bytes = static_cast<size_t>(sf.clientWidth()) * sizeof(std::uint32_t);
  std::uint64_t h = 0;
  for (int y = 0; y < sf.clientHeight(); ++y)
    h = h * 1099511628211ull ^
        std::hash<std::string_view>{}({reinterpret_cast<const char*>(sf.row(y)), bytes});
  return h;
}

using Recorded = Harness<RecordingSurface>;
using Rastered = Harness<RasterSurface>;

// The program as it starts, in a view with the scale that view's pass sets: 0 the time view
// at rpm 8 (s1 = 6), 1 the crank-angle view, 2 the engine view, 3 the help page.
inline void enterView(Recorded& r, int moo) {
  constexpr float kScales[][3] = {
      {-618, 85, 1800}, {-103, 85, 300}, {-110, 150, 300}, {-115, 165, 300}};
  const auto [left, top, width] = kScales[moo];
  initialise(r.p);
  r.p.st.moo = moo;
  r.p.st.s1 = width / 300;
  r.sf.ScaleLeft(left);
  r.sf.ScaleWidth(width);
  r.sf.ScaleTop(top);
}
// The state after a pointer move to a window pixel in a view.
inline State pointedAt(int moo, int w, int h, int px, int py) {
  Recorded r(w, h);
  enterView(r, moo);
  r.dispatcher.deliver(Event::move(px, py));
  return r.p.st;
}

// The painting calls from the last clear on, the clear first; none if there was no clear.
inline std::vector<Call> fromLastClear(const RecordingSurface& sf) {
  const std::vector<Call> d = sf.drawing();
  const auto cls =
      std::find_if(d.rbegin(), d.rend(), [](auto& c) { return c.op == Call::Op::Cls; });
  return {cls == d.rend() ? d.end() : std::prev(cls.base()), d.end()};
}

}  // namespace corvane::test
