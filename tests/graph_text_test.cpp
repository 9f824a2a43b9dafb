// Texts of the graph views: numbers in the platform's printed form, and the captions of
// titles, titles1 and deltitles with their places at two horizontal scales.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program.h"
#include "display/recording_surface.h"
#include "display/scripted_host.h"
#include "graphs/number_text.h"
#include "text/titles.h"

namespace corvane {
namespace {

TEST(NumberText, BlankBeforeANonNegativeNumberAndAfterEveryNumber) {
  struct Case {
    double v;
    const char* text;
  };
  for (const Case k : {Case{5700, " 5700 "}, Case{-17, "-17 "}, Case{0, " 0 "}, Case{-0.0, " 0 "},
                       Case{100, " 100 "}, Case{600, " 600 "}, Case{-79, "-79 "}, Case{0.5, " .5 "},
                       Case{-0.25, "-.25 "}, Case{1.5, " 1.5 "}, Case{1e20, " 1E+20 "},
                       Case{123456789, " 123456789 "}})
    EXPECT_EQ(numberText(k.v), k.text) << k.v;
}

struct Placed {
  double x, y;
  std::string text;
  Colour colour;
};

struct GraphTitles : ::testing::Test {
  RecordingSurface sf{1920, 1080};
  ScriptedHost host;
  Program p{sf, host};

  void SetUp() override {
    p.st.bco = kWhite;
    p.st.fco = kBlack;
    sf.ForeColor(kBlack);
    sf.DrawWidth(3);
  }
  // Each text with the point of the background dot placed just before it.
  std::vector<Placed> texts() const {
    std::vector<Placed> out;
    const auto& calls = sf.calls();
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].op != Call::Op::Print) continue;
      const Call* dot = nullptr;
      for (size_t j = i; j-- > 0;)
        if (calls[j].op == Call::Op::PSet) {
          dot = &calls[j];
          break;
        }
      EXPECT_NE(dot, nullptr);
      if (!dot) continue;
      EXPECT_EQ(dot->colour, kWhite) << "the cursor dot is in the background colour";
      EXPECT_FLOAT_EQ(static_cast<float>(calls[i].x1), static_cast<float>(dot->x1));
      out.push_back({dot->x1, dot->y1, calls[i].text, calls[i].colour});
    }
    return out;
  }
};

TEST_F(GraphTitles, CaptionsStandAtTheirPlacesAtBothScales) {
  for (double s1 : {1.0, 6.0}) {
    SetUp();
    sf.clear();
    p.st.s1 = s1;
    titles(p);
    const std::vector<Placed> want = {
        {-78, 67, "TDC", kBlack},
        {-81, 79, "overlap", kBlack},
        {42, 67, "BDC", kBlack},
        {161, 67, "TDC", kBlack},
        {152, 79, "combustion", kBlack},
        {-80 * s1, -65, "SpaceBar: Valve Lift versus Time or CrankAngle", kGrey},
        {-80 * s1, -80, "MouseClick: Manual Change or Random Change", kGrey},
        {101 * s1, -15, "Tessimo", kBlack},
        {88 * s1, -30, "Air Control Modes", kBlack},
        {105 * s1, -115, "Lumivent", kBlack},
        {85 * s1, -130, " Ingoing Air Control", kBlack},
        {105 * s1, -145, "Modes", kBlack},
        {105 * s1, -235, "Lumivent", kBlack},
        {85 * s1, -250, "Outgoing Air Control", kBlack},
        {105 * s1, -265, "Modes", kBlack},
    };
    const std::vector<Placed> got = texts();
    ASSERT_EQ(got.size(), want.size()) << "s1 " << s1;
    for (size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(got[i].text, want[i].text);
      EXPECT_DOUBLE_EQ(got[i].x, want[i].x) << want[i].text << " at s1 " << s1;
      EXPECT_DOUBLE_EQ(got[i].y, want[i].y) << want[i].text;
      EXPECT_EQ(got[i].colour, want[i].colour) << want[i].text;
    }
    EXPECT_EQ(sf.ForeColor(), kBlack) << "ForeColor as titles found it";
  }
}

TEST_F(GraphTitles, MarksAloneAndTheWipeOfTheirBand) {
  p.st.s1 = 6;
  titles1(p);
  const std::vector<Placed> marks = texts();
  ASSERT_EQ(marks.size(), 5u);
  EXPECT_EQ(marks[0].text, "TDC");
  EXPECT_EQ(marks[4].text, "combustion");
  EXPECT_EQ(marks[4].x, 152) << "marks are not scaled by s1";

  sf.clear();
  deltitles(p);
  std::vector<Call> lines;
  for (const Call& c : sf.drawing())
    lines.push_back(c);
  ASSERT_EQ(lines.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(lines[i].op, Call::Op::Line);
    EXPECT_EQ(lines[i].colour, kWhite);
    EXPECT_EQ(lines[i].drawWidth, 25);
    EXPECT_DOUBLE_EQ(lines[i].x1, -900);
    EXPECT_DOUBLE_EQ(lines[i].x2, 1200);
    EXPECT_EQ(lines[i].y1, i == 0 ? 70 : 60);
    EXPECT_EQ(lines[i].y2, lines[i].y1);
  }
  EXPECT_EQ(sf.DrawWidth(), 3) << "pen width put back";
}

}  // namespace
}  // namespace corvane
