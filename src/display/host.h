// The window system as the program sees it: events delivered only inside the DoEvents family,
// the waits that pace the animation, presentation of the picture, and End.
#pragma once

#include <exception>

namespace corvane {

// The keys that produce no character but steer the animation: the arrows (speed and load)
// and Page Down / Page Up (next and previous view, as a presenter's clicker sends them).
enum class NavKey { Up, Down, Left, Right, PageUp, PageDown };

// Input as it comes from the window, in client pixels, before any handler sees it.
struct Event {
  enum class Kind { Key, Nav, Move, Down, DblClick, Resize, Close };
  Kind kind;
  int a = 0;  // Key: KeyAscii; Nav: NavKey; Move: x pixel; Down: button; Resize: width
  int b = 0;  // Move: y pixel; Resize: height

  static Event key(int keyAscii) { return {Kind::Key, keyAscii, 0}; }
  static Event nav(NavKey k) { return {Kind::Nav, static_cast<int>(k), 0}; }
  static Event move(int x, int y) { return {Kind::Move, x, y}; }
  static Event down(int button = 1) { return {Kind::Down, button, 0}; }
  static Event dblClick() { return {Kind::DblClick, 0, 0}; }
  static Event resize(int w, int h) { return {Kind::Resize, w, h}; }
  static Event close() { return {Kind::Close, 0, 0}; }
};

// Receives the events that a host delivers; the program implements it.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void deliver(const Event& e) = 0;
};

// Thrown by End: unwinds every nested handler and the main loop back to whoever started
// the program, which then ends it with status 0.
struct ProgramEnded : std::exception {
  const char* what() const noexcept override { return "End"; }
};

class Host {
 public:
  // Steps of the engine view per second, and the frame rate of the waits.
  static constexpr double kStepsPerSecond = 120.0;
  static constexpr double kFramesPerSecond = 60.0;

  virtual ~Host() = default;
  void setSink(EventSink* sink) { sink_ = sink; }

  // Delivers every pending event to the sink, one after another, then returns.
  virtual void DoEvents() = 0;
  // Presents the picture, then keeps delivering events until the next step is due.
  virtual void DoEventsUntilStep() = 0;
  // Presents the picture, then blocks until an event arrives or one frame has passed,
  // delivering what arrived. For waiting loops: no busy waiting.
  virtual void DoEventsWait() = 0;
  // End of a graph pass: a pass that drew presents and runs at most once per frame; one that
  // drew nothing waits like DoEventsWait.
  virtual void DoEventsFrame(bool drew) = 0;
  // A wait in which no handler runs; the picture drawn so far is shown first, as it stands
  // for the whole wait.
  virtual void Delay(double seconds) = 0;
  // Ends the program: throws ProgramEnded.
  [[noreturn]] virtual void End() { throw ProgramEnded(); }
  // The host's clock, in seconds; the program never reads another.
  virtual double Now() const = 0;

 protected:
  void deliver(const Event& e) {
    if (sink_) sink_->deliver(e);
  }

 private:
  EventSink* sink_ = nullptr;
};

}  // namespace corvane
