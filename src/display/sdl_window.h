// The real window: an SDL window whose pixels the raster surface draws into, bridging SDL's
// events to the program's own and presenting only what changed, at most once per frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/double_click.h"
#include "display/host.h"
#include "display/present_pacer.h"
#include "display/raster_surface.h"

union SDL_Event;
struct SDL_Window;

namespace corvane {

class SdlWindow : public Host {
 public:
  // Opens the window maximised (or at the display's usable size where nothing maximises it).
  explicit SdlWindow(const std::string& caption);
  ~SdlWindow() override;

  RasterSurface& surface() { return *surface_; }

  void DoEvents() override;
  void DoEventsUntilStep() override;
  void DoEventsWait() override;
  void DoEventsFrame(bool drew) override;
  void Delay(double seconds) override;
  double Now() const override;

  // Pushes the damaged part of the picture to the screen.
  void present();
  // Pushes these rectangles of the picture to the screen.
  void presentRects(const std::vector<PixelRect>& rects);

 private:
  bool inputWaiting();
  void drain();
  void dispatch(const SDL_Event& e);
  void sleepUntilInput(double deadline);
  void waitUntil(double deadline);
  void bindSurface();
  void toggleFullscreen();
  double displayFrame() const;

  SDL_Window* window_ = nullptr;
  std::unique_ptr<RasterSurface> surface_;
  bool direct_ = true;        // drawing straight into the window's own pixels
  void* xDisplay_ = nullptr;  // the X connection, where SDL runs on X (an Xlib Display)
  int xFd_ = -1;
  DoubleClicks clicks_;
  bool pressTimed_ = false;  // the X server's time of the press that SDL reports next
  std::uint32_t pressTime_ = 0;
  double lastPoll_ = -1;
  double nextStep_ = 0;
  double nextFrame_ = 0;
  PresentPacer pacer_{1.0 / kFramesPerSecond};
};

}  // namespace corvane
