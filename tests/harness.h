// A program on a surface of the test's choice and the scripted host, ready to run.
#pragma once

#include <functional>

#include "core/events.h"
#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"

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

  SurfaceT sf;
  ScriptedHost host;
  Program p;
  Dispatcher dispatcher;
};

using Recorded = Harness<RecordingSurface>;
using Rastered = Harness<RasterSurface>;

}  // namespace corvane::test
