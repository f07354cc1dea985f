#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dxf/ElementWriter.h"
#include "core/dxf/PassTestSupport.h"

namespace kw {
namespace {

struct CircleCase {
  std::string name;
  kwtest::Options options;
  int plane;
  float radius;
  PassLines expected;
};
void PrintTo(const CircleCase& c, std::ostream* os) { *os << c.name; }

class CircleLeadTest : public ::testing::TestWithParam<CircleCase> {};

// A circle about X word 5, Y word 5 with lead length 0.5 unless the case sets another.
TEST_P(CircleLeadTest, WritesLeadInCircleAndLeadOutAsTheOptionsSay) {
  const CircleCase& c = GetParam();
  MachineProfile profile = kwtest::passProfile(c.options);
  PassLines lines;
  ElementWriter(profile, ConversionSettings::read(profile), lines).circleXY(c.plane, 5, 5, 0, c.radius);
  EXPECT_EQ(lines, c.expected);
}

const char *const kOn = "G01 X7.0000 Y5.0000 ", *const kCircle = "G02 X7.0000 Y5.0000  I5.0000 J5.0000  ";
const char *const kLineIn = "G01 X6.5000 Y5.0000 ", *const kLineOut = "G01 X6.5000 Y5.0000 ";
const char *const kArcInStart = "G01 X6.0000 Y5.0000 ", *const kArcIn = "G02 X7.0000 Y5.0000  I6.5000 J5.0000  ";
const char* const kArcOut = "G02 X6.0000 Y5.0000  I6.5000 J5.0000  ";

INSTANTIATE_TEST_SUITE_P(
    Circles, CircleLeadTest,
    ::testing::Values(
        CircleCase{"OneFullCircle", {}, 0, 2, {kOn, kCircle}},
        CircleCase{"FourQuadrants", {{"IJFOURQUAD", "1"}}, 3, 2,
                   {kOn, "G02 X5.0000 Y3.0000  I5.0000 J5.0000  ", "G01 X5.0000 Y3.0000 ",
                    "G02 X3.0000 Y5.0000  I5.0000 J5.0000  ", "G01 X3.0000 Y5.0000 ",
                    "G02 X5.0000 Y7.0000  I5.0000 J5.0000  ", "G01 X5.0000 Y7.0000 ", kCircle}},
        CircleCase{"LineInLineOut", {{"CircleCheckBox", "1"}}, 0, 2, {kLineIn, kOn, kOn, kCircle, kOn, kLineOut}},
        CircleCase{"LineInArcOut", {{"LineArcleadinCheckBox", "1"}}, 0, 2, {kLineIn, kOn, kOn, kCircle, kOn, kArcOut}},
        CircleCase{"ArcInArcOut", {{"ArcleadinCheckBox", "1"}}, 0, 2,
                   {kArcInStart, kArcIn, kOn, kCircle, kOn, kArcOut}},
        CircleCase{"EditLineOnly", {{"EditOnlyCheckBox", "1"}}, 0, 2, {kOn, kCircle}},
        CircleCase{"ArcInLineOut", {{"ArcinLineOutCheckBox", "1"}}, 0, 2,
                   {kArcInStart, kArcIn, kOn, kCircle, kOn, kLineOut}},
        // Smaller than the lead: the straight pieces run from the centre.
        CircleCase{"SmallCircle", {{"CircleCheckBox", "1"}}, 0, 0.3f,
                   {"G01 X5.0000 Y5.0000 ", "G01 X5.3000 Y5.0000 ", "G01 X5.3000 Y5.0000 ",
                    "G02 X5.3000 Y5.0000  I5.0000 J5.0000  ", "G01 X5.3000 Y5.0000 ", "G01 X5.0000 Y5.0000 "}},
        // Diameter not over twice the lead: the half circle has half the radius, from the centre.
        CircleCase{"LongLead", {{"ArcleadinCheckBox", "1"}, {"LeadInEdit", "1.5"}}, 0, 2,
                   {"G01 X5.0000 Y5.0000 ", "G02 X7.0000 Y5.0000  I6.0000 J5.0000  ", kOn, kCircle, kOn,
                    "G02 X5.0000 Y5.0000  I6.0000 J5.0000  "}},
        CircleCase{"LeadEqualsRadius", {{"LineArcleadinCheckBox", "1"}, {"LeadInEdit", "2"}}, 0, 2,
                   {"G01 X5.0000 Y5.0000 ", kOn, kOn, kCircle, kOn, "G02 X5.0000 Y5.0000  I6.0000 J5.0000  "}},
        CircleCase{"ZeroLeadNoLeads", {{"CircleCheckBox", "1"}, {"LeadInEdit", "0"}}, 0, 2, {kOn, kCircle}},
        CircleCase{"DesignCadMinusZ", {{"DesignCad", "1"}, {"CircleCheckBox", "1"}}, -3, 2,
                   {"G01 X6.5000 Y-5.0000 ", "G01 X7.0000 Y-5.0000 ", "G01 X7.0000 Y-5.0000 ",
                    "G03 X7.0000 Y-5.0000  I5.0000 J-5.0000  ", "G01 X7.0000 Y-5.0000 ", "G01 X6.5000 Y-5.0000 "}},
        // "X * -1" (the centre comes mirrored): the circle starts at X 3, and the half circles
        // stay inside it and touch it there.
        CircleCase{"MirroredHalfCircles", {{"XmultCheckBox", "1"}, {"ArcleadinCheckBox", "1"}}, 0, 2,
                   {"G01 X4.0000 Y5.0000 ", "G03 X3.0000 Y5.0000  I3.5000 J5.0000  ", "G01 X3.0000 Y5.0000 ",
                    "G03 X3.0000 Y5.0000  I5.0000 J5.0000  ", "G01 X3.0000 Y5.0000 ",
                    "G03 X4.0000 Y5.0000  I3.5000 J5.0000  "}},
        // R mode quarters the circle; the half circles are exactly half a turn, so positive.
        CircleCase{"RModeHalfCircle", {{"RCheckbox", "1"}, {"ArcinLineOutCheckBox", "1"}}, 0, 2,
                   {kArcInStart, "G02 X7.0000 Y5.0000  I6.5000 J5.0000 R0.5000 ", kOn,
                    "G02 X5.0000 Y3.0000  I5.0000 J5.0000 R2.0000 ", "G01 X5.0000 Y3.0000 ",
                    "G02 X3.0000 Y5.0000  I5.0000 J5.0000 R2.0000 ", "G01 X3.0000 Y5.0000 ",
                    "G02 X5.0000 Y7.0000  I5.0000 J5.0000 R2.0000 ", "G01 X5.0000 Y7.0000 ",
                    "G02 X7.0000 Y5.0000  I5.0000 J5.0000 R2.0000 ", kOn, kLineOut}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kw
