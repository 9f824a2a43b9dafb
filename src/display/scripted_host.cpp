#include "display/scripted_host.h"

#include <algorithm>
#include <sstream>
#include <utility>

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

namespace {

// A key by name: esc, space, an arrow or page key; else the name's first character.
Event keyNamed(const std::string& k) {
  const std::pair<const char*, NavKey> nav[] = {
      {"up", NavKey::Up},       {"down", NavKey::Down},   {"left", NavKey::Left},
      {"right", NavKey::Right}, {"pgup", NavKey::PageUp}, {"pgdn", NavKey::PageDown}};
  for (const auto& [name, key] : nav)
    if (k == name) return Event::nav(key);
  if (k == "esc") return Event::key(27);
  if (k == "space") return Event::key(32);
  return Event::key(static_cast<unsigned char>(k[0]));
}

// One script line's tick and event; false if it is not one.
bool parseLine(const std::string& line, std::int64_t& tick, Event& e) {
  std::istringstream in(line);
  std::string kind, k;
  int x = 0, y = 0;
  if (!(in >> tick >> kind)) return false;
  if (kind == "key" && in >> k)
    e = keyNamed(k);
  else if (kind == "move" && in >> x >> y)
    e = Event::move(x, y);
  else if (kind == "click")
    e = Event::down(1);
  else
    return false;
  return true;
}

}  // namespace

std::string ScriptedHost::postScript(std::string_view script) {
  while (!script.empty()) {
    const std::size_t end = std::min(script.find_first_of(";\n"), script.size());
    std::string line(script.substr(0, end));
    script.remove_prefix(std::min(end + 1, script.size()));
    line.erase(std::min(line.find('#'), line.size()));
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::int64_t tick = 0;
    Event e = Event::close();
    if (!parseLine(line, tick, e)) return line;
    postAtTick(tick, e);
  }
  return "";
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
  present();
  ++counts_.delays;
  now_ += seconds;
}

}  // namespace corvane
