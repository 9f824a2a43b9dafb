#include "display/sdl_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace corvane {

namespace {
// DoEvents asks the window system for input no more often than this: asking costs a system
// call of a microsecond or two, and the DoEvents of one engine step follow each other within
// a fraction of a millisecond. Every wait reads the window system anyway.
constexpr double kPollInterval = 0.00025;

bool isXrgb(const SDL_Surface* s) {
  return s->format->BytesPerPixel == 4 && (s->format->format == SDL_PIXELFORMAT_RGB888 ||
                                           s->format->format == SDL_PIXELFORMAT_ARGB8888);
}

// The first character of UTF-8 text as a 16-bit character code (0 if there is none).
int firstCharacter(const char* s) {
  const auto* u = reinterpret_cast<const unsigned char*>(s);
  if (u[0] < 0x80) return u[0];
  if ((u[0] & 0xE0) == 0xC0 && u[1]) return ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
  if ((u[0] & 0xF0) == 0xE0 && u[1] && u[2])
    return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
  return 0;
}

// Whether a window manager runs on the X display (it then maximises the window and keeps
// the restored size); elsewhere nothing will, and the window must cover the screen itself.
bool windowManagerRuns(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* d = info.info.x11.display;
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &items, &after, &data);
  if (data) XFree(data);
  return status == Success && type == XA_WINDOW && items == 1;
}

// An X error in the read of the settings below (their owner may go away between two calls)
// only means that there are none to read.
int ignoreXError(Display*, XErrorEvent*) {
  return 0;
}

// The desktop's double click: the XSETTINGS that the settings manager of the screen publishes
// as a property of the window that owns the selection _XSETTINGS_S<screen>.
DoubleClickRule desktopDoubleClick(Display* d) {
  const std::string selection = "_XSETTINGS_S" + std::to_string(DefaultScreen(d));
  const Window owner = XGetSelectionOwner(d, XInternAtom(d, selection.c_str(), False));
  if (owner == None) return {};
  const Atom settings = XInternAtom(d, "_XSETTINGS_SETTINGS", False);
  XSync(d, False);
  auto* previous = XSetErrorHandler(ignoreXError);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(d, owner, settings, 0, LONG_MAX / 4, False, settings, &type,
                                        &format, &items, &after, &data);
  XSync(d, False);
  XSetErrorHandler(previous);
  DoubleClickRule rule;
  if (status == Success && data && type == settings && format == 8)
    rule = doubleClickRuleFrom(data, items);
  if (data) XFree(data);
  return rule;
}

// What the program says, in one line, when it cannot show itself.
std::runtime_error noWindow(const std::string& reason) {
  return std::runtime_error("cannot open a window: " + reason);
}

// After SDL_Init: the driver in use must show a window (SDL_VIDEODRIVER may name any).
void requireVisibleDriver() {
  const char* name = SDL_GetCurrentVideoDriver();
  const std::string_view driver = name ? name : "none";
  if (driver == "x11" || driver == "wayland") return;
  SDL_Quit();
  throw noWindow("SDL's video driver '" + std::string(driver) + "' shows no window");
}

// Starts SDL's video on a window system the user can see. Left to itself, SDL falls back to
// a driver that shows nothing (offscreen) when no display answers, and the program would
// animate invisibly until killed: it may try only the displays that are named, unless
// SDL_VIDEODRIVER chooses, and then the driver it chose must show a window too.
void openVideo() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool hasX11 = x11 && *x11;
  const bool hasWayland = wayland && *wayland;
  if (!hasX11 && !hasWayland)
    throw noWindow("no display (DISPLAY and WAYLAND_DISPLAY are not set)");
  SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX11 && hasWayland ? "x11,wayland"
                                    : hasX11             ? "x11"
                                                         : "wayland");
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    throw noWindow(std::string(SDL_GetError()) +
                   (hasX11 ? " (DISPLAY=" + std::string(x11) + ")" : ""));
  requireVisibleDriver();
}

// The arrow and page keys, and the same keys of the keypad, which act only while Num Lock is
// off (on, the keypad types digits).
struct NavKeyOf {
  SDL_Keycode sym;
  NavKey key;
  bool keypad;
};
constexpr NavKeyOf kNavKeys[] = {
    {SDLK_UP, NavKey::Up, false},         {SDLK_DOWN, NavKey::Down, false},
    {SDLK_LEFT, NavKey::Left, false},     {SDLK_RIGHT, NavKey::Right, false},
    {SDLK_PAGEUP, NavKey::PageUp, false}, {SDLK_PAGEDOWN, NavKey::PageDown, false},
    {SDLK_KP_8, NavKey::Up, true},        {SDLK_KP_2, NavKey::Down, true},
    {SDLK_KP_4, NavKey::Left, true},      {SDLK_KP_6, NavKey::Right, true},
    {SDLK_KP_9, NavKey::PageUp, true},    {SDLK_KP_3, NavKey::PageDown, true},
};

// The key's NavKey, or nothing for every other key.
const NavKeyOf* navKey(const SDL_Keysym& k) {
  for (const NavKeyOf& n : kNavKeys)
    if (n.sym == k.sym && !(n.keypad && (k.mod & KMOD_NUM))) return &n;
  return nullptr;
}
}  // namespace

SdlWindow::SdlWindow(const std::string& caption) {
  // The native shared-memory image, not a software OpenGL texture, and no mouse capture, so
  // the pointer is reported only over the client area.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  openVideo();
  // Restored, the client area is the design canvas (or as much of it as the screen holds);
  // shown, the window is maximised.
  SDL_Rect usable{0, 0, kDesignWidth, kDesignHeight};
  SDL_GetDisplayUsableBounds(0, &usable);
  window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             std::min(kDesignWidth, usable.w), std::min(kDesignHeight, usable.h),
                             SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (!window_) throw noWindow(SDL_GetError());
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
    xDisplay_ = info.info.x11.display;
    xFd_ = XConnectionNumber(info.info.x11.display);
    clicks_.setRule(desktopDoubleClick(info.info.x11.display));
    // The X events themselves too, for the server's time of each press: SDL stamps an event
    // when it reads it, which may be a pause later.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
  const bool managed = windowManagerRuns(window_);
  if (!managed) {
    SDL_SetWindowPosition(window_, usable.x, usable.y);
    SDL_SetWindowSize(window_, usable.w, usable.h);
  }
  SDL_ShowWindow(window_);
  if (managed) SDL_MaximizeWindow(window_);
  SDL_StartTextInput();
  surface_ = std::make_unique<RasterSurface>(kDesignWidth, kDesignHeight);
  bindSurface();
  pacer_.setFrame(displayFrame());
}

SdlWindow::~SdlWindow() {
  surface_.reset();
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

// Points the raster surface at the window's pixels (a new buffer after every resize).
void SdlWindow::bindSurface() {
  SDL_Surface* ws = SDL_GetWindowSurface(window_);
  if (!ws) return;
  direct_ = isXrgb(ws);
  if (direct_) {
    surface_->attach(static_cast<std::uint32_t*>(ws->pixels), ws->w, ws->h, ws->pitch);
  } else {
    surface_->resize(ws->w, ws->h);
  }
  surface_->Cls();
}

double SdlWindow::Now() const {
  return static_cast<double>(SDL_GetPerformanceCounter()) /
         static_cast<double>(SDL_GetPerformanceFrequency());
}

void SdlWindow::present() {
  const std::vector<PixelRect> damaged = surface_->takeDamage();
  if (!damaged.empty()) presentRects(damaged);
}

void SdlWindow::presentRects(const std::vector<PixelRect>& damaged) {
  SDL_Surface* ws = SDL_GetWindowSurface(window_);
  if (!ws) return;
  std::vector<SDL_Rect> rects;
  for (const PixelRect& r : damaged)
    rects.push_back({r.x, r.y, r.w, r.h});
  if (!direct_) {
    // A window whose pixels are not XRGB: convert the picture on the way.
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(surface_->row(0)), surface_->clientWidth(),
        surface_->clientHeight(), 32, surface_->clientWidth() * 4, SDL_PIXELFORMAT_RGB888);
    for (SDL_Rect& r : rects)
      SDL_BlitSurface(src, &r, ws, &r);
    SDL_FreeSurface(src);
  }
  SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
}

// Whether the window system may hold input that SDL has not read yet: events that Xlib took
// in while the picture was presented, or bytes on the X connection. Looking at the connection
// costs one poll, far less than pumping; without one to look at (Wayland), the answer is yes
// at the same pace.
bool SdlWindow::inputWaiting() {
  if (xDisplay_ && XQLength(static_cast<Display*>(xDisplay_)) > 0) return true;
  const double now = Now();
  if (now - lastPoll_ < kPollInterval) return false;
  lastPoll_ = now;
  if (!xDisplay_) return true;
  pollfd fd{xFd_, POLLIN, 0};
  return poll(&fd, 1, 0) > 0;
}

// Delivers what is queued, one event at a time, so that a handler that waits in its own loop
// (the help page) receives the events that follow.
void SdlWindow::drain() {
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
    dispatch(e);
}

void SdlWindow::dispatch(const SDL_Event& e) {
  switch (e.type) {
    case SDL_TEXTINPUT:
      if (int c = firstCharacter(e.text.text)) deliver(Event::key(c));
      break;
    case SDL_KEYDOWN:
      // Held down, a key repeats; each repeat is one more event in the queue, behind
      // whatever else arrived, so the pointer and the other keys keep their turn.
      if (const NavKeyOf* nav = navKey(e.key.keysym)) {
        deliver(Event::nav(nav->key));
        break;
      }
      switch (e.key.keysym.sym) {
        case SDLK_ESCAPE:
          deliver(Event::key(27));
          break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
          deliver(Event::key(13));
          break;
        case SDLK_BACKSPACE:
          deliver(Event::key(8));
          break;
        case SDLK_TAB:
          deliver(Event::key(9));
          break;
        case SDLK_F11:
          toggleFullscreen();  // for projectors; the picture refits as after a resize
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION:
      deliver(Event::move(e.motion.x, e.motion.y));
      break;
    case SDL_SYSWMEVENT:
      // X buttons 4 to 7 are the wheel, which SDL reports as no press.
      if (const XEvent& x = e.syswm.msg->msg.x11.event;
          x.type == ButtonPress && (x.xbutton.button < 4 || x.xbutton.button > 7)) {
        pressTimed_ = true;
        pressTime_ = static_cast<std::uint32_t>(x.xbutton.time);
      }
      break;
    case SDL_MOUSEBUTTONDOWN: {
      // The second press of a double click ends the program; every other press is a press.
      const std::uint32_t ms = pressTimed_ ? pressTime_ : e.button.timestamp;
      pressTimed_ = false;
      if (clicks_.press(ms, e.button.button, e.button.x, e.button.y)) {
        deliver(Event::dblClick());
      } else {
        deliver(Event::down(e.button.button));
      }
      break;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        bindSurface();
        pacer_.setFrame(displayFrame());  // full screen may be on another display
        deliver(Event::resize(surface_->clientWidth(), surface_->clientHeight()));
      } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
        surface_->damageAll();
        present();
      }
      break;
    case SDL_QUIT:
      deliver(Event::close());
      break;
    default:
      break;
  }
}

void SdlWindow::toggleFullscreen() {
  const bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlWindow::DoEvents() {
  if (inputWaiting()) SDL_PumpEvents();
  drain();
}

// Sleeps until the window system has input or the deadline has passed. On X the program
// watches the connection itself, to the microsecond: SDL's own wait would also send its window
// a wake-up message from a second connection for every event it reads, which the X server may
// find addressed to a window already gone when that event was ESC.
void SdlWindow::sleepUntilInput(double deadline) {
  const double left = deadline - Now();
  if (left <= 0) return;
  if (!xDisplay_) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, std::max(1, static_cast<int>(left * 1000))) == 1) dispatch(e);
    return;
  }
  auto* display = static_cast<Display*>(xDisplay_);
  XFlush(display);
  if (XQLength(display) > 0) return;
  pollfd fd{xFd_, POLLIN, 0};
  const auto ns = static_cast<long long>(left * 1e9);
  const timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  ppoll(&fd, 1, &timeout, nullptr);
}

// Blocks in the window system until the deadline, delivering every event that arrives. The
// window system is read first, also when the deadline has passed already (a graph pass that
// drew for longer than a frame): its input is delivered here and not a pass later.
void SdlWindow::waitUntil(double deadline) {
  for (;;) {
    SDL_PumpEvents();
    drain();
    if (Now() >= deadline) return;
    sleepUntilInput(deadline);
  }
}

// The display's frame time, where SDL knows its refresh rate; else that of 60 Hz.
double SdlWindow::displayFrame() const {
  SDL_DisplayMode mode;
  if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate >= 24 &&
      mode.refresh_rate <= 500)
    return 1.0 / mode.refresh_rate;
  return 1.0 / kFramesPerSecond;
}

void SdlWindow::DoEventsUntilStep() {
  const double now = Now();
  if (pacer_.due(now)) present();
  const double period = 1.0 / kStepsPerSecond;
  nextStep_ += period;
  // After a stall of more than a few steps, start afresh rather than race to catch up.
  if (nextStep_ < now - 4 * period) nextStep_ = now;
  waitUntil(nextStep_);
}

void SdlWindow::DoEventsWait() {
  present();
  SDL_PumpEvents();
  if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
    sleepUntilInput(Now() + 1.0 / kFramesPerSecond);
    SDL_PumpEvents();
  }
  drain();
}

void SdlWindow::DoEventsFrame(bool drew) {
  if (!drew) {
    DoEventsWait();
    return;
  }
  present();
  const double period = 1.0 / kFramesPerSecond;
  const double now = Now();
  nextFrame_ += period;
  if (nextFrame_ < now - 4 * period) nextFrame_ = now;
  waitUntil(nextFrame_);
}

void SdlWindow::Delay(double seconds) {
  present();
  SDL_Delay(static_cast<Uint32>(seconds * 1000));
}

}  // namespace corvane
