// A host for tests and the snapshot tool: no window, a virtual clock, and input given
// beforehand, delivered at chosen DoEvents calls, steps or virtual times.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "display/host.h"

namespace corvane {

// Thrown when the script's stop condition holds; the run ends without End.
struct ScriptStopped : std::exception {
  const char* what() const noexcept override { return "script stopped"; }
};

class ScriptedHost : public Host {
 public:
  // Counts of the calls the program made, and of what they did.
  struct Counts {
    std::int64_t calls = 0;  // every call of the DoEvents family
    std::int64_t doEvents = 0;
    std::int64_t steps = 0;  // DoEventsUntilStep: one before every engine-view step
    std::int64_t ticks = 0;  // steps, graph passes and the waits of pauses and the help page
    std::int64_t waits = 0;
    std::int64_t frames = 0;
    std::int64_t presents = 0;
    std::int64_t delays = 0;
    std::int64_t delivered = 0;
  };

  // Input for the next call of the DoEvents family.
  void post(const Event& e);
  // Input for the call of the DoEvents family numbered n (the first call is 1).
  void postAtCall(std::int64_t n, const Event& e);
  // Input for the pacing call before engine-view step n (the first step is 1).
  void postAtStep(std::int64_t n, const Event& e);
  // Input for the pacing call before tick n: an engine-view step, the end of a graph pass, or
  // a wait of a pause or the help page (the first tick is 1).
  void postAtTick(std::int64_t n, const Event& e);
  // A script of input, a line for each event, at the pacing call before its tick: "K key C"
  // (a character, or esc, space, up, down, left, right, pgup, pgdn), "K move X Y" (client
  // pixels) or "K click". Lines end at a newline or ';'; blank ones and comments from '#'
  // are skipped. Gives the first line it could not read, or "" when it took them all.
  std::string postScript(std::string_view script);
  // Input that arrives at virtual time t (seconds).
  void postAtTime(double t, const Event& e);
  // Checked at the start of every call of the DoEvents family; true ends the run with
  // ScriptStopped.
  void stopWhen(std::function<bool(const ScriptedHost&)> condition);
  // Stops at the pacing call of step n + 1, so the picture stands as step n left it.
  void stopAfterStep(std::int64_t n);
  // Called at every present (the picture is whole there).
  void onPresent(std::function<void()> f) { onPresent_ = std::move(f); }

  void DoEvents() override;
  void DoEventsUntilStep() override;
  void DoEventsWait() override;
  void DoEventsFrame(bool drew) override;
  void Delay(double seconds) override;
  double Now() const override { return now_; }

  const Counts& counts() const { return counts_; }
  bool pending() const { return !queue_.empty(); }

 private:
  struct Scheduled {
    enum class When { Next, Call, Step, Tick, Time } when;
    double at;
    Event event;
  };
  void begin();       // counts the call, checks the stop condition
  bool deliverDue();  // delivers every due event; true if any was delivered
  bool due(const Scheduled& s) const;
  void present();
  void wait();  // a wait of one frame, or until input arrives

  std::vector<Scheduled> queue_;
  std::function<bool(const ScriptedHost&)> stop_;
  std::function<void()> onPresent_;
  Counts counts_;
  double now_ = 0;
  double nextStep_ = 0;
  double nextFrame_ = 0;
};

}  // namespace corvane
