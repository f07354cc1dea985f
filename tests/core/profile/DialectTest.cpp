#include "core/profile/Dialect.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

TEST(SetaxisSingleStep, ConvertsTheDelayAndLimitsItTo55To1000) {
  struct Case {
    std::string text;
    int interval;
    std::string textAfter;
  };
  const Case cases[] = {
      {"", 125, "125"}, {"abc", 125, "125"}, {"0", 55, "0"}, {"5000", 1000, "5000"}, {" 77 ", 77, " 77 "}};
  for (const Case& c : cases) {
    MachineProfile profile;
    profile.setText("Edit5", c.text);
    Dialect dialect;
    Setaxis(profile, dialect);
    EXPECT_EQ(dialect.singleStepMs, c.interval) << '"' << c.text << '"';
    EXPECT_EQ(profile.text("Edit5"), c.textAfter) << '"' << c.text << '"';
  }
}

TEST(SetaxisRows, RemovesSpacesOnlyFromTheMarkedRowsWritesThemBackAndCutsTo255) {
  MachineProfile profile;
  const int stripped[] = {1, 2, 8, 9, 17, 19, 80, 82, 90, 91};
  const int kept[] = {0, 20, 21, 22, 23, 27, 40, 70, 71, 74, 78, 83, 85};
  for (int row : stripped) profile.setCell(row, 1, " a b ");
  for (int row : kept) profile.setCell(row, 1, " a b ");
  profile.setCell(81, 1, std::string(300, 'M'));
  Dialect dialect;
  Setaxis(profile, dialect);
  for (int row : stripped) {
    EXPECT_EQ(profile.cell(row, 1), "ab") << row;
    EXPECT_EQ(dialect.row(LabelRow(row)), "ab") << row;
  }
  for (int row : kept) {
    EXPECT_EQ(profile.cell(row, 1), " a b ") << row;
    EXPECT_EQ(dialect.row(LabelRow(row)), " a b ") << row;
  }
  EXPECT_EQ(dialect.row(LabelRow::BLetter), std::string(255, 'M'));
  EXPECT_EQ(profile.cell(81, 1).size(), 300u);
}

// The letters are read as typed and swapped; the block scanner's letters lose their blanks and
// are never swapped.
TEST(DialectLetters, SwapOptionsExchangeLettersAndSignOptionsGiveMinusOne) {
  struct Case {
    bool swapXY, swapYZ, xSign, ySign, zSign;
    std::string letters;  // x y z i j k
  };
  const Case cases[] = {
      {false, false, false, false, false, "X YZIJK"},
      {true, false, true, false, true, "YX ZJIK"},
      {false, true, false, true, false, "X ZYIKJ"},
  };
  for (const Case& c : cases) {
    MachineProfile profile;
    const char* letters[] = {"N", "R", "I", "J", "K", "X ", "Y", "Z"};
    for (int row = 0; row < 8; ++row) profile.setCell(rowIndex(LabelRow::NLetter) + row, 1, letters[row]);
    profile.setFlag("SwapXY", c.swapXY);
    profile.setFlag("SwapYZ", c.swapYZ);
    profile.setFlag("XsignCheckBox", c.xSign);
    profile.setFlag("YsignCheckBox", c.ySign);
    profile.setFlag("ZsignCheckBox", c.zSign);
    const Dialect dialect(profile);
    EXPECT_EQ(dialect.x + dialect.y + dialect.z + dialect.i + dialect.j + dialect.k, c.letters);
    EXPECT_EQ(dialect.n + dialect.r, "NR");
    const BlockLetters plain = dialect.lettersWithoutBlanks();
    EXPECT_EQ(plain.x + plain.y + plain.z + plain.i + plain.j + plain.k, "XYZIJK");
    EXPECT_EQ(std::vector({dialect.xSign, dialect.ySign, dialect.zSign}),
              std::vector({c.xSign ? -1 : 1, c.ySign ? -1 : 1, c.zSign ? -1 : 1}))
        << c.letters;
  }
}

}  // namespace
}  // namespace kw
