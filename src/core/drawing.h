// Two idioms every view draws with, built on the surface rather than into it: text placed at
// a point, and a pen width changed for a scope and then put back.
#pragma once

#include <string_view>

#include "core/program.h"

namespace corvane {

// Text with the top-left corner of its first cell at (x, y): a dot in the background colour
// bco moves the text cursor there, then Print writes in ForeColor.
void textAt(Program& p, double x, double y, std::string_view text);

// Keeps DrawWidth as found, sets `width`, and puts the kept width back when the scope ends,
// as every procedure that changes the shared pen must.
class PenWidth {
 public:
  PenWidth(Surface& sf, int width) : sf_(sf), dw_(sf.DrawWidth()) { sf.DrawWidth(width); }
  ~PenWidth() { sf_.DrawWidth(dw_); }
  PenWidth(const PenWidth&) = delete;
  PenWidth& operator=(const PenWidth&) = delete;

 private:
  Surface& sf_;
  int dw_;  // the width kept
};

}  // namespace corvane
