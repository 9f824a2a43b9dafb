// Presenting in the engine view: once per display frame at most, every other step at 120
// steps a second on a 60 Hz display, also with the scheduler's jitter, on faster displays and
// after a stall, which brings no burst of pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
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

TEST(PresentPacer, AtMostOncePerFrameAndNoBurstAfterAStall) {
  struct Row {
    double frame, jitter;
    std::size_t fewest, most;
    double low, high;  // the gaps between presents
  };
  const double f = 1 / 60.0, j = 0.003;
  // Every other step on a 60 Hz display, also with steps up to 3 ms late (still one picture
  // per frame, none held back by a late one); every step at 144 Hz.
  const Row rows[] = {{f, 0, 600, 600, f, f},
                      {f, j, 599, 601, f - j - PresentPacer::kLeeway, f + j},
                      {1 / 144.0, 0, 1200, 1200, 1 / 120.0, 1 / 120.0}};
  for (const Row& r : rows) {
    PresentPacer p(r.frame);
    // From the start, then after two seconds without a step (a slow machine): one picture at
    // once, then the same beat again, not a picture for each frame that went by.
    for (const double t0 : {0.0, 12.0}) {
      const auto shown = presents(p, steps(1200, t0, r.jitter));
      const std::string what = std::to_string(r.frame) + " s, jitter " + std::to_string(r.jitter) +
                               ", from " + std::to_string(t0);
      EXPECT_EQ(shown.front(), t0) << what;
      EXPECT_TRUE(shown.size() >= r.fewest && shown.size() <= r.most) << what << shown.size();
      for (std::size_t i = 1; i < shown.size(); ++i)
        EXPECT_TRUE(shown[i] - shown[i - 1] >= r.low - 1e-9 &&
                    shown[i] - shown[i - 1] <= r.high + 1e-9)
            << what << ", present " << i;
    }
  }
  // A step that comes just before its frame is due waits for the next step.
  PresentPacer r(f);
  EXPECT_EQ(presents(r, {0, 0.0150, 0.0160, 0.0170}), (std::vector<double>{0, 0.0160}));
}

}  // namespace
}  // namespace corvane
