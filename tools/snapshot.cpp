// Renders the program headless and writes the picture as a PNG: from the start through N
// ticks (engine-view steps, graph passes, waits of a pause or the help page), with optional
// scripted input, on a client area of a chosen size.
//
//   snapshot --steps N --out file.png [--width W] [--height H] [--script file]
//
// The script is the scripted host's: a line such as "K key C", "K move X Y" or "K click" is
// delivered at the DoEvents before tick K, counted from the start; so a script can set a
// speed in the crank-angle view, change it, go on to the time view and so on. The picture is
// the one that tick N left.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/events.h"
#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/scripted_host.h"

namespace {

int usage() {
  std::cerr << "usage: snapshot --steps N --out file.png [--width W] [--height H] "
               "[--script file]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long steps = 200;
  int width = 1920, height = 1080;
  std::string out = "snapshot.png", script;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string opt = argv[i], val = argv[i + 1];
    if (opt == "--steps") {
      steps = std::stol(val);
    } else if (opt == "--out") {
      out = val;
    } else if (opt == "--width") {
      width = std::stoi(val);
    } else if (opt == "--height") {
      height = std::stoi(val);
    } else if (opt == "--script") {
      script = val;
    } else {
      return usage();
    }
  }
  if (argc % 2 == 0) return usage();

  corvane::RasterSurface surface(width, height);
  corvane::ScriptedHost host;
  corvane::Program program(surface, host);
  corvane::Dispatcher dispatcher(program);
  host.setSink(&dispatcher);

  if (!script.empty()) {
    std::ifstream in(script);
    if (!in) {
      std::cerr << "snapshot: cannot read " << script << "\n";
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (const std::string bad = host.postScript(text.str()); !bad.empty()) {
      std::cerr << "snapshot: bad script line: " << bad << "\n";
      return 1;
    }
  }

  host.stopWhen([&](const corvane::ScriptedHost& h) {
    return h.counts().ticks > steps || h.counts().calls > 50'000'000;
  });

  try {
    corvane::Form_Activate(program);
  } catch (const corvane::ScriptStopped&) {
  } catch (const corvane::ProgramEnded&) {
  }
  if (!surface.writePng(out)) {
    std::cerr << "snapshot: cannot write " << out << "\n";
    return 1;
  }
  return 0;
}
