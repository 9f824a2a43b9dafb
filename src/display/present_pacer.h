// When the window presents during the engine view: at most once per display frame, at a
// pacing call between two steps, so that every picture is whole.
#pragma once

namespace corvane {

class PresentPacer {
 public:
  // A millisecond's leeway keeps the pictures in step with the steps despite the scheduler's
  // jitter: at 120 steps a second on a 60 Hz display, every other step is presented.
  static constexpr double kLeeway = 0.001;

  explicit PresentPacer(double frameSeconds) : frame_(frameSeconds) {}
  void setFrame(double frameSeconds) { frame_ = frameSeconds; }

  // Whether to present at time now (seconds); a true answer books the next frame. The frames
  // keep their own beat, so a late picture does not delay the next; after a stall of more than
  // a frame the beat starts afresh, without a burst of pictures to catch up.
  bool due(double now) {
    if (now + kLeeway < next_) return false;
    next_ = next_ + frame_ < now ? now + frame_ : next_ + frame_;
    return true;
  }

 private:
  double frame_;
  double next_ = 0;
};

}  // namespace corvane
