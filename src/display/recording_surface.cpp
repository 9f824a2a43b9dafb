#include "display/recording_surface.h"

namespace corvane {

std::vector<Call> RecordingSurface::drawing() const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.op != Call::Op::Set) out.push_back(c);
  return out;
}

Call& RecordingSurface::record(Call::Op op, double x1, double y1, double x2, double y2, Colour c) {
  Call call;
  call.op = op;
  call.x1 = x1;
  call.y1 = y1;
  call.x2 = x2;
  call.y2 = y2;
  call.colour = c;
  call.drawWidth = DrawWidth();
  call.foreColor = ForeColor();
  call.backColor = BackColor();
  call.fontSize = FontSize();
  call.scaleLeft = ScaleLeft();
  call.scaleTop = ScaleTop();
  call.scaleWidth = ScaleWidth();
  calls_.push_back(std::move(call));
  return calls_.back();
}

void RecordingSurface::paintClear(Colour c) {
  record(Call::Op::Cls, 0, 0, 0, 0, c);
}

void RecordingSurface::paintDot(double x, double y, Colour c) {
  record(Call::Op::PSet, x, y, x, y, c);
}

void RecordingSurface::paintSegment(double x1, double y1, double x2, double y2, Colour c) {
  record(Call::Op::Line, x1, y1, x2, y2, c);
}

void RecordingSurface::paintBox(double x1, double y1, double x2, double y2, Colour c) {
  record(Call::Op::Box, x1, y1, x2, y2, c);
}

void RecordingSurface::paintCircle(double x, double y, double radius, Colour c) {
  record(Call::Op::Circle, x, y, radius, 0, c);
}

void RecordingSurface::paintText(double x, double y, std::string_view text, Colour c) {
  record(Call::Op::Print, x, y, x, y, c).text = std::string(text);
}

void RecordingSurface::propertySet(Property p, double value) {
  record(Call::Op::Set, value, 0, 0, 0, 0).property = p;
}

}  // namespace corvane
