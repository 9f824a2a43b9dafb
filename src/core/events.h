// The bridge from window events to the handlers: pointer positions are converted with the
// scale in force at the moment of delivery; a resize refits the picture at once.
#pragma once

#include "core/program.h"
#include "display/host.h"

namespace corvane {

class Dispatcher : public EventSink {
 public:
  explicit Dispatcher(Program& p) : p_(p) {}
  void deliver(const Event& e) override;

 private:
  Program& p_;
};

// Fits the picture to a new client size: the current view's scale again, a clear, and the
// view's fixed parts; the engine view's moving parts where its last step left them.
void refit(Program& p, int widthPx, int heightPx);

}  // namespace corvane
