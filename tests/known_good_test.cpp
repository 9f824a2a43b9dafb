// What each view draws, pinned: a hash of the recording surface's painting calls after a fixed
// script of input, from the start, at the design size. Any change of a caption, a position, a
// colour, a pen, the order of the drawing or a law's timing changes the hash; fonts play no
// part. A deliberate change of the picture updates the hash printed in the failure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "harness.h"

namespace corvane {
namespace {

// FNV-1a over the painting calls, each with the properties that shape it; coordinates kept to
// 1/1024 unit, so that a rounding in the last bit of a double does not count.
struct LogHash {
  void add(const Call& c) {
    mix(static_cast<std::int64_t>(c.op));
    for (const double v : {c.x1, c.y1, c.x2, c.y2})
      mix(std::llround(v * 1024));
    mix(c.colour);
    for (const char ch : c.text)
      mix(ch);
    mix(c.drawWidth);
    if (c.op == Call::Op::Print) mix(std::llround(c.fontSize * 100));
    for (const float v : {c.scaleLeft, c.scaleTop, c.scaleWidth})
      mix(std::llround(v * 1024));
  }
  void mix(std::int64_t v) { h = (h ^ static_cast<std::uint64_t>(v)) * 1099511628211ull; }
  std::uint64_t h = 1469598103934665603ull;
};

struct Scripted {
  const char* name;
  std::int64_t ticks;  // the run stops before this tick
  const char* script;  // the scripted host's: "K key C", "K move X Y" or "K click" at tick K
  std::uint64_t expected;
};

std::uint64_t runAndHash(const Scripted& s) {
  test::Recorded h(kDesignWidth, kDesignHeight);
  EXPECT_EQ(h.host.postScript(s.script), "") << s.name;
  LogHash hash;
  const auto take = [&] {
    for (const Call& c : h.sf.calls())
      if (c.op != Call::Op::Set) hash.add(c);
    h.sf.clear();
  };
  h.host.onPresent(take);
  h.host.stopWhen([&](const ScriptedHost& host) { return host.counts().ticks >= s.ticks; });
  h.run();
  take();
  return hash.h;
}

TEST(KnownGood, EachViewDrawsWhatItDrewWhenChecked) {
  const Scripted scripts[] = {
      // Two cycles and more of the engines: the label key; the pointer in the Lumivent and
      // Tessimo zones (engine-view points (43.75, -126) and (-31.25, -147.5)) at timings a
      // little past their spots' colour thresholds (1.10 and 1.07 pi); the drift of the
      // spots; the graphs hidden; the colours reversed; four space bars in one batch (the key
      // held down), round every view and back to the engines, in their own scale.
      {"engine view", 330,
       "20 key t; 40 move 521 466; 45 move 267 503; 60 click; 150 key p; 200 key c; 250 key t;"
       "290 key space; 290 key space; 290 key space; 290 key space",
       0xa13fd8e0d4373ee1ull},
      // The crank-angle view with a speed and a load from the pointer, then the random change.
      {"crank-angle view", 120,
       "5 key space; 10 move 600 300; 30 move 300 500; 50 click; 100 key c", 0x19bbfabb50bafa79ull},
      // The time view, paced and then not, its scale following the random change.
      {"time view", 120, "5 key space; 6 key space; 10 move 500 200; 20 click; 60 key /",
       0x5dcc10c61443e708ull},
      // The help page, reversed on the page, and back to the engines.
      {"help page", 60, "5 key space; 6 key space; 7 key space; 10 key c; 20 key space",
       0xe8a1ca94f8b7a098ull},
      // The graph views at the corners of what the pointer gives: fastest with the least
      // load, slowest with the most; the time view at the speeds (1.6 to 2.6) where the last
      // tick's middle is left out, entered and left; the random change switched on and off
      // again in each view (the crank-angle view marks the speed gauge then); T and P pressed
      // there, drawn by the engine view after the help page.
      {"graph views at their limits", 200,
       "5 key space; 10 move 0 0; 15 move 1015 829; 20 move 500 645; 25 click; 28 click;"
       "35 key space; 40 move 500 675; 45 move 1015 620; 50 move 500 599; 55 move 0 0;"
       "60 click; 63 click; 70 key t; 71 key p; 75 key space; 80 key space",
       0x37badedbb15a0d8aull},
  };
  for (const Scripted& s : scripts) {
    const std::uint64_t got = runAndHash(s);
    EXPECT_EQ(got, s.expected) << s.name << ": 0x" << std::hex << got;
  }
}

}  // namespace
}  // namespace corvane
