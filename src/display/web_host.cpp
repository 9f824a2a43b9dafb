#include "display/web_host.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <string_view>

namespace corvane {

namespace {

// A DoEvents loop that never waits would freeze the page; after this long without handing
// control back, DoEvents yields one frame itself.
constexpr double kLongestBusy = 0.25;
// A wait with nothing new to show sleeps this long at most; input ends it at once.
constexpr double kIdleWait = 0.1;

// clang-format off
// Sizes the canvas to the page at the device's pixel ratio; returns the canvas's pixels in
// *w, *h and the ratio of canvas pixels to page pixels.
EM_JS(double, corvane_fit_canvas, (int* w, int* h), {
  const canvas = document.getElementById('canvas');
  const ratio = window.devicePixelRatio || 1;
  const cssW = Math.max(1, window.innerWidth), cssH = Math.max(1, window.innerHeight);
  const pw = Math.max(1, Math.round(cssW * ratio)), ph = Math.max(1, Math.round(cssH * ratio));
  canvas.style.width = cssW + 'px';
  canvas.style.height = cssH + 'px';
  if (canvas.width !== pw) canvas.width = pw;
  if (canvas.height !== ph) canvas.height = ph;
  HEAP32[w >> 2] = pw;
  HEAP32[h >> 2] = ph;
  return pw / cssW;
});

// The rectangle (x, y, w, h) of the picture onto the canvas. The picture is `width` by
// `height` pixels at `pixels`, rows without gaps, already in the canvas's byte order: nothing
// is copied but what the canvas takes. One ImageData over the whole picture serves every
// rectangle, made again only when the picture moves or changes size or the memory grows (a
// new buffer): an ImageData and its view made for each of the hundred or so rectangles of a
// frame cost more than the pixels they carry.
EM_JS(void, corvane_put_image, (const void* pixels, int width, int height, int x, int y, int w,
                                int h), {
  const canvas = document.getElementById('canvas');
  if (!Module.corvaneContext) Module.corvaneContext = canvas.getContext('2d', {alpha: false});
  let image = Module.corvaneImage;
  if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== pixels ||
      image.width !== width || image.height !== height) {
    const data = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    image = Module.corvaneImage = new ImageData(data, width, height);
  }
  Module.corvaneContext.putImageData(image, 0, 0, x, y, w, h);
});

EM_JS(void, corvane_set_title, (const char* title), {
  document.title = UTF8ToString(title);
});

// The line shown after End, hidden again at the restart.
EM_JS(void, corvane_show_ended, (int shown), {
  const line = document.getElementById('ended');
  if (line) line.style.display = shown ? 'flex' : 'none';
  Module.corvaneEnded = shown;
});

// The count of engine-view steps so far, for the page's tests to read.
EM_JS(void, corvane_count_step, (), {
  Module.corvaneSteps = (Module.corvaneSteps || 0) + 1;
});

EM_ASYNC_JS(void, corvane_next_frame, (), {
  await new Promise(resolve => requestAnimationFrame(() => resolve()));
});

// Waits until input arrives or the time is up, whichever comes first. Unlike a wait for the
// next animation frame, it lets the browser draw nothing while nothing changes.
EM_ASYNC_JS(void, corvane_wait_input, (double ms), {
  await new Promise(resolve => {
    Module.corvaneWake = resolve;
    setTimeout(resolve, ms);
  });
  Module.corvaneWake = null;
});

// Input arrived: a wait for input ends now.
EM_JS(void, corvane_wake, (), {
  if (Module.corvaneWake) Module.corvaneWake();
});

EM_ASYNC_JS(void, corvane_sleep, (double ms), {
  await new Promise(resolve => setTimeout(resolve, ms));
});
// clang-format on

WebHost* hostOf(void* userData) {
  return static_cast<WebHost*>(userData);
}

// The first character of UTF-8 text, if the text is exactly one character of 16 bits.
int singleCharacter(const char* s) {
  const auto* u = reinterpret_cast<const unsigned char*>(s);
  if (u[0] && u[0] < 0x80 && !u[1]) return u[0];
  if ((u[0] & 0xE0) == 0xC0 && u[1] && !u[2]) return ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
  if ((u[0] & 0xF0) == 0xE0 && u[1] && u[2] && !u[3])
    return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
  return 0;
}

struct NamedKey {
  const char* name;
  bool nav;
  int value;  // a NavKey, or a character code
};
constexpr NamedKey kNamedKeys[] = {
    {"ArrowUp", true, static_cast<int>(NavKey::Up)},
    {"ArrowDown", true, static_cast<int>(NavKey::Down)},
    {"ArrowLeft", true, static_cast<int>(NavKey::Left)},
    {"ArrowRight", true, static_cast<int>(NavKey::Right)},
    {"PageUp", true, static_cast<int>(NavKey::PageUp)},
    {"PageDown", true, static_cast<int>(NavKey::PageDown)},
    {"Escape", false, 27},
    {"Enter", false, 13},
    {"Backspace", false, 8},
    {"Tab", false, 9},
};

// A key the program takes is kept from the browser (the space bar and the arrow and page keys
// would scroll, '/' would open a search); every other key, F11 and the browser's shortcuts
// among them, is the browser's.
EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void* userData) {
  if (e->ctrlKey || e->metaKey || e->altKey) return EM_FALSE;
  const std::string_view key = e->key;
  for (const NamedKey& k : kNamedKeys) {
    if (key != k.name) continue;
    hostOf(userData)->queue(k.nav ? Event::nav(static_cast<NavKey>(k.value)) : Event::key(k.value));
    return EM_TRUE;
  }
  if (const int c = singleCharacter(e->key)) {
    hostOf(userData)->queue(Event::key(c));
    return EM_TRUE;
  }
  return EM_FALSE;
}

EM_BOOL onMouseMove(int, const EmscriptenMouseEvent* e, void* userData) {
  hostOf(userData)->queue(Event::move(e->targetX, e->targetY));
  return EM_FALSE;
}

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* e, void* userData) {
  hostOf(userData)->queue(Event::down(e->button + 1));  // the left button is 1
  return EM_FALSE;
}

EM_BOOL onDblClick(int, const EmscriptenMouseEvent*, void* userData) {
  hostOf(userData)->queue(Event::dblClick());
  return EM_TRUE;
}

// A finger is the pointer: touching moves the pointer there and presses it; dragging moves
// it. The page neither scrolls nor zooms under it.
EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void* userData) {
  for (int i = 0; i < e->numTouches; ++i) {
    const EmscriptenTouchPoint& t = e->touches[i];
    if (!t.isChanged) continue;
    hostOf(userData)->queue(Event::move(t.targetX, t.targetY));
    if (type == EMSCRIPTEN_EVENT_TOUCHSTART) hostOf(userData)->queue(Event::down(1));
    break;
  }
  return EM_TRUE;
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void* userData) {
  hostOf(userData)->queueRefit();
  return EM_FALSE;
}

constexpr const char* kCanvas = "#canvas";

}  // namespace

WebHost::WebHost(const std::string& caption) {
  corvane_set_title(caption.c_str());
  int w = 1, h = 1;
  pixelRatio_ = corvane_fit_canvas(&w, &h);
  surface_ = std::make_unique<RasterSurface>(w, h);
  surface_->storeForCanvas(true);
  listen(true);
  lastYield_ = Now();
}

WebHost::~WebHost() {
  listen(false);
}

void WebHost::listen(bool on) {
  void* self = on ? this : nullptr;
  const auto window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, self, EM_FALSE, on ? onKeyDown : nullptr);
  emscripten_set_mousemove_callback(kCanvas, self, EM_FALSE, on ? onMouseMove : nullptr);
  emscripten_set_mousedown_callback(kCanvas, self, EM_FALSE, on ? onMouseDown : nullptr);
  emscripten_set_dblclick_callback(kCanvas, self, EM_FALSE, on ? onDblClick : nullptr);
  emscripten_set_touchstart_callback(kCanvas, self, EM_FALSE, on ? onTouch : nullptr);
  emscripten_set_touchmove_callback(kCanvas, self, EM_FALSE, on ? onTouch : nullptr);
  emscripten_set_resize_callback(window, self, EM_FALSE, on ? onResize : nullptr);
}

// Page pixels to canvas pixels, where the picture's client pixels are.
void WebHost::queue(const Event& e) {
  corvane_wake();
  if (e.kind == Event::Kind::Move) {
    queue_.push_back(
        Event::move(static_cast<int>(e.a * pixelRatio_), static_cast<int>(e.b * pixelRatio_)));
    return;
  }
  queue_.push_back(e);
}

// A resize travels through the queue like any other event, so that the surface changes size
// only inside the DoEvents family; a burst of them refits once.
void WebHost::queueRefit() {
  corvane_wake();
  if (!queue_.empty() && queue_.back().kind == Event::Kind::Resize) return;
  queue_.push_back(Event::resize(0, 0));
}

void WebHost::refitCanvas() {
  int w = 1, h = 1;
  pixelRatio_ = corvane_fit_canvas(&w, &h);
  if (w != surface_->clientWidth() || h != surface_->clientHeight()) surface_->resize(w, h);
  surface_->damageAll();
}

// One event at a time off the queue, so that a handler that waits in its own loop (the help
// page) receives the ones that follow.
void WebHost::drain() {
  while (!queue_.empty()) {
    const Event e = queue_.front();
    queue_.pop_front();
    if (e.kind == Event::Kind::Resize) {
      refitCanvas();
      deliver(Event::resize(surface_->clientWidth(), surface_->clientHeight()));
    } else {
      deliver(e);
    }
  }
}

double WebHost::Now() const {
  return emscripten_get_now() / 1000.0;
}

// The surface stores its pixels in the canvas's byte order, rows without gaps.
void WebHost::present() {
  const int width = surface_->clientWidth(), height = surface_->clientHeight();
  for (const PixelRect& r : surface_->takeDamage())
    if (r.w > 0 && r.h > 0) corvane_put_image(surface_->row(0), width, height, r.x, r.y, r.w, r.h);
}

void WebHost::yieldFrame() {
  present();
  corvane_next_frame();
  lastYield_ = Now();
}

void WebHost::DoEvents() {
  drain();
  if (Now() - lastYield_ > kLongestBusy) {
    yieldFrame();
    drain();
  }
}

// Steps are due every 1/120 s; the browser shows a frame every 1/60 s or so, and the steps
// that fell due while it waited run one after another, so the engines keep the desktop's pace.
void WebHost::DoEventsUntilStep() {
  corvane_count_step();
  drain();
  const double period = 1.0 / kStepsPerSecond;
  nextStep_ += period;
  if (nextStep_ < Now() - 4 * period) nextStep_ = Now();
  while (Now() < nextStep_ - 0.001) {
    yieldFrame();
    drain();
  }
}

// A pause, the help page, a graph view with nothing to draw: a picture that changed is shown
// at the next frame; one that did not waits for input, which ends the wait at once.
void WebHost::DoEventsWait() {
  drain();
  if (surface_->hasDamage()) {
    yieldFrame();
  } else if (queue_.empty()) {
    corvane_wait_input(kIdleWait * 1000.0);
    lastYield_ = Now();
  }
  drain();
}

// The browser's frames pace the graph passes.
void WebHost::DoEventsFrame(bool drew) {
  if (!drew) {
    DoEventsWait();
    return;
  }
  drain();
  yieldFrame();
  drain();
}

// No handler runs meanwhile: what arrives waits in the queue.
void WebHost::Delay(double seconds) {
  present();
  corvane_sleep(seconds * 1000.0);
  lastYield_ = Now();
}

void WebHost::waitForRestart() {
  present();
  corvane_show_ended(1);
  for (bool go = false; !go;) {
    queue_.clear();
    corvane_next_frame();
    go = std::any_of(queue_.begin(), queue_.end(), [](const Event& e) {
      return e.kind == Event::Kind::Key || e.kind == Event::Kind::Nav ||
             e.kind == Event::Kind::Down || e.kind == Event::Kind::DblClick;
    });
    if (std::any_of(queue_.begin(), queue_.end(),
                    [](const Event& e) { return e.kind == Event::Kind::Resize; }))
      refitCanvas();
  }
  queue_.clear();
  corvane_show_ended(0);
  // The program starts again from the beginning, on a surface with its first properties.
  surface_ = std::make_unique<RasterSurface>(surface_->clientWidth(), surface_->clientHeight());
  surface_->storeForCanvas(true);
  nextStep_ = 0;
  lastYield_ = Now();
}

}  // namespace corvane
