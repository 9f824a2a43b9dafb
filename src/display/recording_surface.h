// A surface that paints nothing and logs every call: operation, arguments in user units, and
// the property values in force. For tests of the program's logic.
#pragma once

#include <string>
#include <vector>

#include "display/surface.h"

namespace corvane {

struct Call {
  enum class Op { Cls, PSet, Line, Box, Circle, Print, Set };
  Op op;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Circle: centre in x1, y1, radius in x2
  Colour colour = 0;                      // the colour painted
  std::string text;                       // Print
  Property property{};                    // Set: which property, new value in x1
  // Properties in force when the call was made.
  int drawWidth = 1;
  Colour foreColor = 0;
  Colour backColor = 0;
  float fontSize = 0;
  float scaleLeft = 0, scaleTop = 0, scaleWidth = 0;
};

class RecordingSurface : public Surface {
 public:
  using Surface::Surface;

  const std::vector<Call>& calls() const { return calls_; }
  void clear() { calls_.clear(); }
  // Calls that paint (everything but property assignments).
  std::vector<Call> drawing() const;

 protected:
  void paintClear(Colour c) override;
  void paintDot(double x, double y, Colour c) override;
  void paintSegment(double x1, double y1, double x2, double y2, Colour c) override;
  void paintBox(double x1, double y1, double x2, double y2, Colour c) override;
  void paintCircle(double x, double y, double radius, Colour c) override;
  void paintText(double x, double y, std::string_view text, Colour c) override;
  void propertySet(Property p, double value) override;

 private:
  Call& record(Call::Op op, double x1, double y1, double x2, double y2, Colour c);
  std::vector<Call> calls_;
};

}  // namespace corvane
