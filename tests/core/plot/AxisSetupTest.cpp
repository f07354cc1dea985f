#include "core/plot/AxisSetup.h"

#include <gtest/gtest.h>

#include <string>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

TEST(SetaxisSingleStep, ConvertsTheDelayAndLimitsItTo55To1000) {
  struct Case {
    std::string text;
    int interval;
    std::string textAfter;
  };
  const Case cases[] = {{"", 125, "125"},   {"abc", 125, "125"}, {"0", 55, "0"},
                        {"5000", 1000, "5000"}, {"300", 300, "300"}, {" 77 ", 77, " 77 "}};
  for (const Case& c : cases) {
    MachineProfile profile;
    profile.setText("Edit5", c.text);
    DialectCopies copies;
    Setaxis(profile, copies);
    EXPECT_EQ(copies.singleStepMs, c.interval) << '"' << c.text << '"';
    EXPECT_EQ(profile.text("Edit5"), c.textAfter) << '"' << c.text << '"';
  }
}

TEST(SetaxisCopies, RemovesSpacesOnlyFromTheMarkedRowsAndWritesThemBack) {
  MachineProfile profile;
  const int stripped[] = {1, 2, 8, 9, 17, 19, 80, 82, 90, 91};
  const int kept[] = {0, 20, 21, 22, 23, 27, 70, 71, 74, 78, 83, 85};
  for (int row : stripped) profile.setCell(row, 1, " a b ");
  for (int row : kept) profile.setCell(row, 1, " a b ");
  profile.setCell(40, 1, "not copied");
  DialectCopies copies;
  Setaxis(profile, copies);
  for (int row : stripped) {
    EXPECT_EQ(profile.cell(row, 1), "ab") << row;
    EXPECT_EQ(copies.row(row), "ab") << row;
  }
  for (int row : kept) {
    EXPECT_EQ(profile.cell(row, 1), " a b ") << row;
    EXPECT_EQ(copies.row(row), " a b ") << row;
  }
  EXPECT_EQ(copies.row(40), "");
}

TEST(SetaxisCopies, CutsCopiesTo255Bytes) {
  MachineProfile profile;
  profile.setCell(8, 1, std::string(300, 'M'));
  DialectCopies copies;
  Setaxis(profile, copies);
  EXPECT_EQ(copies.row(8), std::string(255, 'M'));
  EXPECT_EQ(profile.cell(8, 1).size(), 300u);
}

TEST(SetaxisLetters, SwapOptionsExchangeAxisAndCentreLetters) {
  struct Case {
    bool swapXY, swapYZ;
    std::string x, y, z, i, j, k;
  };
  const Case cases[] = {
      {false, false, "X", "Y", "Z", "I", "J", "K"},
      {true, false, "Y", "X", "Z", "J", "I", "K"},
      {false, true, "X", "Z", "Y", "I", "K", "J"},
  };
  for (const Case& c : cases) {
    MachineProfile profile;
    kwtest::setStandardDialect(profile);
    profile.setFlag("SwapXY", c.swapXY);
    profile.setFlag("SwapYZ", c.swapYZ);
    DialectCopies copies;
    Setaxis(profile, copies);
    EXPECT_EQ(copies.x + copies.y + copies.z + copies.i + copies.j + copies.k,
              c.x + c.y + c.z + c.i + c.j + c.k)
        << c.swapXY << c.swapYZ;
    EXPECT_EQ(copies.n, "N");
    EXPECT_EQ(copies.r, "R");
  }
}

TEST(SetaxisSigns, CheckedSignOptionsGiveMinusOne) {
  for (int mask = 0; mask < 8; ++mask) {
    MachineProfile profile;
    profile.setFlag("XsignCheckBox", mask & 1);
    profile.setFlag("YsignCheckBox", mask & 2);
    profile.setFlag("ZsignCheckBox", mask & 4);
    DialectCopies copies;
    Setaxis(profile, copies);
    EXPECT_EQ(copies.xSign, (mask & 1) ? -1 : 1);
    EXPECT_EQ(copies.ySign, (mask & 2) ? -1 : 1);
    EXPECT_EQ(copies.zSign, (mask & 4) ? -1 : 1);
  }
}

}  // namespace
}  // namespace kw
