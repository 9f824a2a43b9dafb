#include "display/scripted_host.h"

#include <algorithm>

namespace corvane {

void ScriptedHost::post(const Event& e) {
  queue_.push_back({Scheduled::When::Next, 0, e});
}

void ScriptedHost::postAtCall(std::int64_t n, const Event& e) {
  queue_.push_back({Scheduled::When::Call, static_cast<double>(n), e});
}

void ScriptedHost::postAtStep(std::int64_t n, const Event& e) {
  queue_.push_back({Scheduled::When::Step, static_cast<double>(n), e});
}

void ScriptedHost::postAtTick(std::int64_t n, const Event& e) {
  queue_.push_back({Scheduled::When::Tick, static_cast<double>(n), e});
}

void ScriptedHost::postAtTime(double t, const Event& e) {
  queue_.push_back({Scheduled::When::Time, t, e});
}

void ScriptedHost::stopWhen(std::function<bool(const ScriptedHost&)> condition) {
  stop_ = std::move(condition);
}

void ScriptedHost::stopAfterStep(std::int64_t n) {
  stopWhen([n](const ScriptedHost& h) { return h.counts().steps > n; });
}

void ScriptedHost::begin() {
  ++counts_.calls;
  if (stop_ && stop_(*this)) throw ScriptStopped();
}

bool ScriptedHost::due(const Scheduled& s) const {
  switch (s.when) {
    case Scheduled::When::Next:
      return true;
    case Scheduled::When::Call:
      return counts_.calls >= s.at;
    case Scheduled::When::Step:
      return counts_.steps >= s.at;
    case Scheduled::When::Tick:
      return counts_.ticks >= s.at;
    case Scheduled::When::Time:
      return now_ >= s.at;
  }
  return false;
}

// Events are taken off the queue one at a time before each is delivered, so a handler that
// calls DoEvents itself (the help page) receives the ones that follow.
bool ScriptedHost::deliverDue() {
  bool any = false;
  for (;;) {
    auto it = std::find_if(queue_.begin(), queue_.end(), [this](auto& s) { return due(s); });
    if (it == queue_.end()) return any;
    const Event e = it->event;
    queue_.erase(it);
    ++counts_.delivered;
    any = true;
    deliver(e);
  }
}

void ScriptedHost::present() {
  ++counts_.presents;
  if (onPresent_) onPresent_();
}

void ScriptedHost::DoEvents() {
  ++counts_.doEvents;
  begin();
  deliverDue();
}

void ScriptedHost::DoEventsUntilStep() {
  ++counts_.steps;
  ++counts_.ticks;
  begin();
  present();
  nextStep_ = std::max(nextStep_ + 1.0 / kStepsPerSecond, now_);
  now_ = nextStep_;
  deliverDue();
}

void ScriptedHost::DoEventsWait() {
  ++counts_.ticks;
  wait();
}

void ScriptedHost::wait() {
  ++counts_.waits;
  begin();
  present();
  if (deliverDue()) return;
  now_ += 1.0 / kFramesPerSecond;
  deliverDue();
}

void ScriptedHost::DoEventsFrame(bool drew) {
  ++counts_.ticks;
  if (!drew) {
    wait();
    return;
  }
  ++counts_.frames;
  begin();
  present();
  nextFrame_ = std::max(nextFrame_ + 1.0 / kFramesPerSecond, now_);
  now_ = nextFrame_;
  deliverDue();
}

void ScriptedHost::Delay(double seconds) {
  ++counts_.delays;
  now_ += seconds;
}

}  // namespace corvane
