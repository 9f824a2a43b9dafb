// Renders the program headless and writes the picture as a PNG: from the start through N
// ticks (engine-view steps, graph passes, waits of a pause or the help page), with optional
// scripted input, on a client area of a chosen size.
//
//   snapshot --steps N --out file.png [--width W] [--height H] [--script file]
//
// A script line is "K key C" (a character, or esc, space, or up, down, left, right, pgup,
// pgdn for the arrow and page keys), "K move X Y" (client pixels) or "K click", delivered at
// the DoEvents before tick K, counted from the start; so a script can set a speed in the
// crank-angle view, change it, go on to the time view and so on. The picture is the one
// that tick N left.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "core/events.h"
#include "core/main_loop.h"
#include "core/program.h"
#include "display/raster_surface.h"
#include "display/scripted_host.h"

namespace {

using corvane::Event;
using corvane::NavKey;

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

bool parseLine(const std::string& line, long& step, Event& e) {
  std::istringstream in(line);
  std::string kind;
  if (!(in >> step >> kind)) return false;
  if (kind == "key") {
    std::string k;
    if (!(in >> k)) return false;
    e = keyNamed(k);
    return true;
  }
  if (kind == "move") {
    int x = 0, y = 0;
    if (!(in >> x >> y)) return false;
    e = Event::move(x, y);
    return true;
  }
  if (kind == "click") {
    e = Event::down(1);
    return true;
  }
  return false;
}

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
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      long step = 0;
      Event e = Event::close();
      if (!parseLine(line, step, e)) {
        std::cerr << "snapshot: bad script line: " << line << "\n";
        return 1;
      }
      host.postAtTick(step, e);
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
