// The program in a web page: the same animation on a canvas that fills the page. End shows a
// line in the page, and a key, a click or a touch starts the animation again from the start.
#include <cstdio>
#include <exception>

#include "app/caption.h"
#include "core/main_loop.h"
#include "display/web_host.h"

int main() {
  corvane::WebHost host(corvane::kCaption);
  for (;;) {
    try {
      // End leaves the page, with its line, until the next key or click.
      corvane::runUntilEnd(host.surface(), host);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "corvane: %s\n", e.what());
    }
    host.waitForRestart();
  }
}
