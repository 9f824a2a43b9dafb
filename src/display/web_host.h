// The page in a web browser: a canvas that fills it, whose pixels the raster surface draws
// into. The browser's input callbacks only queue events, which reach the program inside the
// DoEvents family as in the window; the waits hand control back to the browser until the next
// animation frame, so the program's own loops stay as they are.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "display/host.h"
#include "display/raster_surface.h"

namespace corvane {

class WebHost : public Host {
 public:
  // Takes over the page's canvas (#canvas) and names the page after the caption.
  explicit WebHost(const std::string& caption);
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  RasterSurface& surface() { return *surface_; }

  void DoEvents() override;
  void DoEventsUntilStep() override;
  void DoEventsWait() override;
  void DoEventsFrame(bool drew) override;
  void Delay(double seconds) override;
  double Now() const override;

  // Copies the damaged part of the picture to the canvas.
  void present();

  // After End: shows the line that says so, waits for a key, a click or a touch, hides it and
  // forgets the input that came before.
  void waitForRestart();

  // Called by the browser's callbacks; they only queue.
  void queue(const Event& e);
  // The page's size changed: the canvas is refitted when the queue reaches it.
  void queueRefit();

 private:
  // Hands the page's input to this host, or (false) takes it back.
  void listen(bool on);
  void drain();
  void refitCanvas();
  // Yields to the browser until its next animation frame; presents first.
  void yieldFrame();

  std::unique_ptr<RasterSurface> surface_;
  std::deque<Event> queue_;
  double pixelRatio_ = 1;
  double lastYield_ = 0;
  double nextStep_ = 0;
};

}  // namespace corvane
