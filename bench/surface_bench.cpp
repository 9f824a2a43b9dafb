// Costs of the raster surface's primitives at 1920x1080, and of the window's DoEvents and
// present (these need a display; `make bench` provides one with Xvfb when there is none).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "display/raster_surface.h"
#include "display/sdl_window.h"

namespace corvane {
namespace {

// The engine view's scale on a full-HD client area.
std::unique_ptr<RasterSurface> engineSurface() {
  auto s = std::make_unique<RasterSurface>(1920, 1080);
  s->ScaleLeft(-110);
  s->ScaleWidth(300);
  s->ScaleTop(150);
  return s;
}

void BM_Segment(benchmark::State& state) {
  auto s = engineSurface();
  s->DrawWidth(static_cast<int>(state.range(0)));
  bool erase = false;
  for (auto _ : state) {
    s->Line(-20, -100, -11, -80, erase ? kWhite : kBlack);  // about 60 pixels
    erase = !erase;
  }
}
BENCHMARK(BM_Segment)->Arg(3)->Arg(25);

void BM_Circle(benchmark::State& state) {
  auto s = engineSurface();
  s->DrawWidth(3);
  bool erase = false;
  for (auto _ : state) {
    s->Circle(0, -295, static_cast<double>(state.range(0)), erase ? kWhite : kBlack);
    erase = !erase;
  }
}
BENCHMARK(BM_Circle)->Arg(7)->Arg(12);

void BM_FilledBox(benchmark::State& state) {
  auto s = engineSurface();
  s->DrawWidth(3);
  bool erase = false;
  for (auto _ : state) {
    s->Box(-13.7, 40, -11.3, 70, erase ? kWhite : kOil);
    erase = !erase;
  }
}
BENCHMARK(BM_FilledBox);

void BM_Text(benchmark::State& state) {
  auto s = engineSurface();
  bool erase = false;
  for (auto _ : state) {
    s->ForeColor(erase ? kWhite : kBlack);
    s->PSet(97, -195, kWhite);
    s->Print("Dot Comma:   ");
    erase = !erase;
  }
}
BENCHMARK(BM_Text);

// The window needs a display; without one these report an error instead of a figure.
std::unique_ptr<SdlWindow> openWindow(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("no display");
    return nullptr;
  }
  return std::make_unique<SdlWindow>("Corvane benchmark");
}

void BM_EmptyDoEvents(benchmark::State& state) {
  auto w = openWindow(state);
  if (!w) return;
  for (auto _ : state)
    w->DoEvents();
}
BENCHMARK(BM_EmptyDoEvents);

void BM_PresentUnchanged(benchmark::State& state) {
  auto w = openWindow(state);
  if (!w) return;
  w->present();
  for (auto _ : state)
    w->present();
}
BENCHMARK(BM_PresentUnchanged);

// What presenting costs, the program and the X server together (the real time: a present
// waits for the server): `count` rectangles of `side` x `side` pixels, apart from each other.
void BM_PresentRects(benchmark::State& state) {
  auto w = openWindow(state);
  if (!w) return;
  const int count = static_cast<int>(state.range(0)), side = static_cast<int>(state.range(1));
  std::vector<PixelRect> rects;
  for (int i = 0; i < count; ++i)
    rects.push_back({(i * (side + 7)) % (1900 - side),
                     (i * (side + 7)) / (1900 - side) * (side + 3) % (1000 - side), side, side});
  for (auto _ : state)
    w->presentRects(rects);
  state.counters["pixels"] = count * side * side;
}
BENCHMARK(BM_PresentRects)
    ->Args({1, 1})
    ->Args({1, 16})
    ->Args({1, 64})
    ->Args({1, 256})
    ->Args({1, 1024})
    ->Args({16, 16})
    ->Args({64, 16})
    ->Args({256, 16})
    ->Args({16, 64})
    ->Args({64, 64})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// What one engine-view step typically damages: the four moving figures and their graphs.
void BM_PresentEngineDamage(benchmark::State& state) {
  auto w = openWindow(state);
  if (!w) return;
  RasterSurface& s = w->surface();
  s.ScaleLeft(-110);
  s.ScaleWidth(300);
  s.ScaleTop(150);
  s.DrawWidth(3);
  w->present();
  for (auto _ : state) {
    state.PauseTiming();
    for (double a : {-75.0, 0.0, 75.0, 150.0}) {
      s.Line(a, -100, a + 20, -300, kBlack);
      s.Line(a - 12, 118, a - 12, -20, kBlack);
      s.Line(a, 0, a + 40, 60, kRed);
    }
    state.ResumeTiming();
    w->present();
  }
}
BENCHMARK(BM_PresentEngineDamage);

}  // namespace
}  // namespace corvane
