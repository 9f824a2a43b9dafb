// Presenting in the engine view: once per display frame at most, every other step at 120
// steps a second on a 60 Hz display, also with the scheduler's jitter, on faster displays and
// after a stall, which brings no burst of pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/present_pacer.h"

namespace corvane {
namespace {

// The times of the presents among pacing calls at `times`.
std::vector<double> presents(PresentPacer& p, const std::vector<double>& times) {
  std::vector<double> out;
  for (double t : times)
    if (p.due(t)) out.push_back(t);
  return out;
}

// Pacing calls at 120 a second from t0, each late by up to `jitter` seconds.
std::vector<double> steps(int n, double t0 = 0, double jitter = 0) {
  std::vector<double> t;
  for (int i = 0; i < n; ++i)
    t.push_back(t0 + i / 120.0 + jitter * std::fabs(std::sin(i * 12.9898)));
  return t;
}

// The gaps between presents lie within [low, high] seconds.
void expectGaps(const std::vector<double>& shown, double low, double high, const char* what) {
  for (std::size_t i = 1; i < shown.size(); ++i) {
    EXPECT_GE(shown[i] - shown[i - 1], low - 1e-9) << what << " " << i;
    EXPECT_LE(shown[i] - shown[i - 1], high + 1e-9) << what << " " << i;
  }
}

TEST(PresentPacer, EveryOtherStepOnASixtyHertzDisplay) {
  const double frame = 1 / 60.0, jitter = 0.003;
  PresentPacer p(frame);
  const auto shown = presents(p, steps(1200));
  EXPECT_EQ(shown.size(), 600u);
  expectGaps(shown, frame, frame, "steady");
  // Steps up to 3 ms late: still one picture per frame, none held back by a late one.
  PresentPacer q(frame);
  const auto jittered = presents(q, steps(1200, 0, jitter));
  EXPECT_GE(jittered.size(), 599u);
  EXPECT_LE(jittered.size(), 601u);
  expectGaps(jittered, frame - jitter - PresentPacer::kLeeway, frame + jitter, "jitter");
  // A step that comes just before its frame is due waits for the next step.
  PresentPacer r(frame);
  EXPECT_EQ(presents(r, {0, 0.0150, 0.0160, 0.0170}), (std::vector<double>{0, 0.0160}));
}

TEST(PresentPacer, FasterDisplaysAndAStall) {
  PresentPacer p(1 / 144.0);
  EXPECT_EQ(presents(p, steps(240)).size(), 240u) << "each step has a frame of its own";
  PresentPacer q(1 / 60.0);
  presents(q, steps(120));
  // Two seconds without a step (a slow machine), then steps again: one picture at once, then
  // every other step, not a picture for each frame that went by.
  const auto after = presents(q, steps(120, 3.0));
  EXPECT_EQ(after.front(), 3.0);
  EXPECT_EQ(after.size(), 60u);
  expectGaps(after, 1 / 60.0, 1 / 60.0, "after the stall");
}

}  // namespace
}  // namespace corvane
