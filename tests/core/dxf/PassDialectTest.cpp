#include "core/dxf/PassDialect.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/PassTestSupport.h"

namespace kw {
namespace {

TEST(ContainsWord, FindsTheWordAnywhereInTheLine) {
  struct Case {
    const char *line, *word;
    bool found;
  };
  const Case cases[] = {
      {"G02 X1 Y2", "G02", true},   {"G01 X1 G02", "G02", true}, {"GG02", "G02", true},  {"G0G02", "G02", true},
      {"G01 X1 Y2", "G02", false},  {"G0", "G02", false},        {"", "G02", false},     {"G02", "", false},
      {"X1 Y2 G0", "G02", false},   {"G02 ", "G02 ", true},      {"G02", "G02 ", false}, {"M3M3", "M3", true},
  };
  for (const Case& c : cases) EXPECT_EQ(containsWord(c.line, c.word), c.found) << c.line << " / " << c.word;
}

TEST(ContainsEitherWord, FindsWhatEitherWordAloneFinds) {
  // Short lines and long ones, words that begin alike or not, of other lengths, or empty.
  const char* const lines[] = {"",          "G0",         "G02",           "G03 ",         "GG03",
                               "G01 X1",    "M3 G03",     "G01 X1.0 Y2.0 ", "X1 Y2 G0",     "G01 X1 Y2 Z3 I4 J5 G02",
                               "G0 X1 G03", "G02X G03X ", "M03 M3",         "G01 X1 Y2 G"};
  const std::pair<const char*, const char*> words[] = {{"G02", "G03"}, {"G03", "G02"}, {"G02", "G03 "},
                                                       {"G0", "G03"},  {"G02", ""},    {"", "G03"},
                                                       {"M03", "G03"}, {"M3", "M03"},  {"G", "G02X"}};
  for (const char* line : lines)
    for (const auto& [a, b] : words)
      EXPECT_EQ(containsEitherWord(line, a, b), containsWord(line, a) || containsWord(line, b))
          << line << " / " << a << " / " << b;
}

// Moves to a few numbers, as the element writer writes them.
std::vector<std::string> someMoves(const PlainMoveForm& form) {
  std::vector<std::string> moves;
  for (const char* x : {"0", "-12.5", "3.0000"})
    for (const char* y : {"99", "-0.0625"}) form.write(moves.emplace_back(), x, y, "-7.25");
  return moves;
}

TEST(PlainMoveForm, TellsTheWordsEveryMoveHolds) {
  struct Case {
    const char* name;
    kwtest::Options options;
    const char *a, *b;
    std::optional<bool> holds;
  };
  const Case cases[] = {
      {"ArcWords", {}, "G02", "G03", false},
      {"InTheLineWord", {{"row 1", "G02"}}, "G02", "G03", true},
      {"EmptyWords", {}, "", "", false},
      {"OneWord", {}, "M03", "", false},
      {"OtherLineWord", {{"row 1", "G1M03"}}, "M03", "", true},
      {"HoldsALetter", {}, "X1", "G03", std::nullopt},
      {"ZWithZIncluded", kwtest::Options{{"IncludeZCheckBox", "1"}}, "G02", "Z", std::nullopt},
      {"ZWithout", {}, "G02", "Z9", false},
      {"OnlyANumber", {}, "G02", "01", std::nullopt},
      {"HoldsABlank", {}, "G0 ", "G03", std::nullopt},
      {"LetterInLineWord", {{"row 1", "GY1"}}, "Y1", "G03", std::nullopt},
  };
  for (const Case& c : cases) {
    const MachineProfile profile = kwtest::passProfile(c.options);
    const PlainMoveForm form(profile);
    EXPECT_EQ(form.holdsEither(c.a, c.b), c.holds) << c.name;
    if (!c.holds) continue;
    for (const std::string& move : someMoves(form))
      EXPECT_EQ(containsEitherWord(move, c.a, c.b), *c.holds) << c.name << ": " << move;
  }
}

TEST(PlainMoveForm, SplitsMovesAsTheSplitterDoes) {
  struct Case {
    const char* name;
    kwtest::Options options;
    const char* move;                   // to X 1.5, Y -2.0 and Z 3
    std::string_view g, m, x, y, z;     // what the splitter finds; nothing else
    bool told;                          // whether the form tells the words
  };
  const Case cases[] = {
      {"Plain", {}, "G01 X1.5 Y-2.0 ", "G01", "", "X1.5", "Y-2.0", "", true},
      {"WithZ", {{"IncludeZCheckBox", "1"}}, "G01 X1.5 Y-2.0 Z3", "G01", "", "X1.5", "Y-2.0", "Z3", true},
      {"NoLineWord", {{"row 1", ""}}, " X1.5 Y-2.0 ", "", "", "X1.5", "Y-2.0", "", true},
      {"MLineWord", {{"row 1", "M05"}}, "M05 X1.5 Y-2.0 ", "", "M05", "X1.5", "Y-2.0", "", true},
      {"SwappedXY", {{"SwapXY", "1"}}, "G01 Y1.5 X-2.0 ", "G01", "", "X-2.0", "Y1.5", "", true},
      {"BlankInLetter", {{"row 17", "X "}}, "G01 X 1.5 Y-2.0 ", "", "", "", "", "", false},
      {"BlankInLineWord", {{"row 1", "G 1"}}, "G 1 X1.5 Y-2.0 ", "", "", "", "", "", false},
      {"SameLetterTwice", {{"row 18", "X"}}, "G01 X1.5 X-2.0 ", "", "", "", "", "", false},
  };
  for (const Case& c : cases) {
    const MachineProfile profile = kwtest::passProfile(c.options);
    const PlainMoveForm form(profile);
    std::string move;
    form.write(move, "1.5", "-2.0", "3");
    ASSERT_EQ(move, c.move) << c.name;
    const PlainWordSplitter splitter(Dialect(profile).lettersWithoutBlanks());
    const PlainMoveForm::Words words(form, splitter);
    PlainWords told, split;
    ASSERT_EQ(words.split(move, told), c.told) << c.name;
    if (!c.told) continue;
    ASSERT_TRUE(splitter.split(move, split)) << c.name;
    PlainWords expected;
    expected.g = c.g, expected.m = c.m, expected.x = c.x, expected.y = c.y, expected.z = c.z;
    const auto fields = {&PlainWords::g, &PlainWords::m, &PlainWords::n, &PlainWords::x, &PlainWords::y,
                         &PlainWords::z, &PlainWords::r, &PlainWords::i, &PlainWords::j, &PlainWords::k,
                         &PlainWords::rest};
    for (const auto field : fields) {
      EXPECT_EQ(told.*field, expected.*field) << c.name;
      EXPECT_EQ(told.*field, split.*field) << c.name;
    }
    // The same for moves to other numbers, longer ones and one past the longest a block may be.
    for (const std::string& other : someMoves(form)) {
      ASSERT_TRUE(words.split(other, told) && splitter.split(other, split)) << other;
      for (const auto field : fields) EXPECT_EQ(told.*field, split.*field) << other;
    }
    form.write(move, std::string(kMaxBlockLength, '1'), "2", "3");
    EXPECT_FALSE(words.split(move, told)) << c.name;
  }
}

}  // namespace
}  // namespace kw
