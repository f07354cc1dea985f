#include "core/app/EditorSearch.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace kw {
namespace {

constexpr bool kDown = true;
constexpr bool kUp = false;

struct SearchCase {
  std::string name;
  std::string text;
  size_t selStart;
  size_t selLength;
  std::string find;
  bool down;
  bool matchCase;
  bool wholeWord;
  std::optional<size_t> expected;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class SearchEditorTextTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchEditorTextTest, FindsTheMatchStart) {
  const SearchCase& c = GetParam();
  EXPECT_EQ(searchEditorText(c.text, c.selStart, c.selLength, c.find, c.down, c.matchCase, c.wholeWord), c.expected);
}

const std::string kTwoLines = "G1 X1\nG1 X2";  // X at 3 and 9, G1 at 0 and 6

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchEditorTextTest,
    ::testing::Values(
        SearchCase{"EmptyFindFindsNothingDown", kTwoLines, 0, 0, "", kDown, false, false, std::nullopt},
        SearchCase{"EmptyTextUp", "", 0, 0, "G1", kUp, true, true, std::nullopt},
        SearchCase{"DownFromCaretFindsFirst", kTwoLines, 0, 0, "X", kDown, false, false, 3},
        SearchCase{"DownStartsAtSelectionEnd", kTwoLines, 3, 1, "X", kDown, false, false, 9},
        SearchCase{"DownMatchMayStartRightAtSelectionEnd", "XXX", 0, 1, "XX", kDown, true, false, 1},
        SearchCase{"DownNothingAfterSelection", kTwoLines, 9, 1, "X", kDown, false, false, std::nullopt},
        SearchCase{"DownFindsAtVeryEnd", "G1 X1\nM30", 0, 0, "M30", kDown, true, false, 6},
        SearchCase{"DownFindLongerThanRest", "G1 X1", 4, 0, "X1", kDown, false, false, std::nullopt},
        SearchCase{"UpFromTextEndFindsLast", "X1 X2 X3", 8, 0, "X", kUp, false, false, 6},
        SearchCase{"UpFindsMatchEndingAtVeryEnd", "G1 X1\nM30", 9, 0, "M30", kUp, false, false, 6},
        SearchCase{"UpSkipsTheSelectedMatch", "X1 X2", 3, 1, "X", kUp, false, false, 0},
        SearchCase{"UpMatchEndsBeforeSelectionStart", "ABAB", 3, 0, "AB", kUp, true, false, 0},
        SearchCase{"UpIgnoresSelectionLength", "ABAB", 2, 2, "AB", kUp, true, false, 0},
        SearchCase{"UpCaretCloserToStartThanFindLength", "AB", 1, 0, "AB", kUp, true, false, std::nullopt},
        SearchCase{"UpNothingBefore", kTwoLines, 3, 1, "X", kUp, false, false, std::nullopt},
        SearchCase{"IgnoringCaseFindsLowerCase", "g1 x1", 0, 0, "X1", kDown, false, false, 3},
        SearchCase{"MatchCaseSkipsLowerCase", "x1 X1", 0, 0, "X1", kDown, true, false, 3},
        SearchCase{"IgnoringCaseLatin1Letters", "A \xe9t\xe9", 0, 0, "\xc9T\xc9", kDown, false, false, 2},
        SearchCase{"DivisionSignIsNotLowerCase", "\xf7", 0, 0, "\xd7", kDown, false, false, std::nullopt},
        SearchCase{"YDiaeresisHasNoLatin1Capital", "\xff", 0, 0, "\xdf", kDown, false, false, std::nullopt},
        SearchCase{"WholeWordG1SkipsG10", "G10 X1\nG1 X2", 0, 0, "G1", kDown, false, true, 7},
        SearchCase{"WithoutWholeWordG1StopsInG10", "G10 X1\nG1 X2", 0, 0, "G1", kDown, false, false, 0},
        SearchCase{"WholeWordUpSkipsG10", "G1 G10", 6, 0, "G1", kUp, false, true, 0},
        SearchCase{"WholeWordSkipsInsideWord", "XG1 G1", 0, 0, "G1", kDown, false, true, 4},
        SearchCase{"WholeWordMatchEndingTheText", "X G1", 0, 0, "G1", kDown, false, true, 2},
        SearchCase{"WholeWordLatin1LetterDelimits", "\xe9G1\xe9", 0, 0, "G1", kDown, false, true, 1},
        SearchCase{"WholeWordMatchCase", "g1 G1", 0, 0, "G1", kDown, true, true, 3},
        SearchCase{"WholeWordCaretInsideWordWaitsForNextWord", "G1G1 G1", 0, 2, "G1", kDown, false, true, 5},
        SearchCase{"WholeWordCaretAfterDelimiter", "G1 G1", 0, 3, "G1", kDown, false, true, 3},
        SearchCase{"WholeWordFindStartingWithDelimiter", "A(B (B", 0, 0, "(B", kDown, true, true, 4},
        SearchCase{"SelectionPastEndDown", "G1", 10, 5, "G1", kDown, false, false, std::nullopt},
        SearchCase{"SelectionPastEndUp", "G1", 10, 5, "G1", kUp, false, false, 0},
        SearchCase{"NulAndControlBytes", std::string("A\0\x01" "B", 4), 0, 0, std::string("\0\x01", 2), kDown,
                   true, false, 1},
        SearchCase{"NulIsDelimiter", std::string("A\0B", 3), 0, 0, "B", kDown, false, true, 2}));

TEST(CannotFindMessageTest, QuotesTheSearchTextAndEndsWithFullStop) {
  EXPECT_EQ(cannotFindMessage("G1"), "Cannot find \"G1\".");
  EXPECT_EQ(cannotFindMessage(""), "Cannot find \"\".");
}

enum class Command { Replace, ReplaceAll };

struct ReplaceCase {
  std::string name;
  Command command;
  std::string text;
  size_t selStart;
  size_t selLength;
  std::string find;
  std::string replacement;
  bool down;
  bool matchCase;
  bool wholeWord;
  std::string expectedText;
  size_t expectedSelStart;
  size_t expectedSelLength;
  size_t expectedReplacements;
  bool expectedFound;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTest, GivesTextSelectionAndCount) {
  const ReplaceCase& c = GetParam();
  ReplaceResult r =
      c.command == Command::Replace
          ? replaceStep(c.text, c.selStart, c.selLength, c.find, c.replacement, c.down, c.matchCase, c.wholeWord)
          : replaceAll(c.text, c.selStart, c.selLength, c.find, c.replacement, c.down, c.matchCase, c.wholeWord);
  EXPECT_EQ(r.text, c.expectedText);
  EXPECT_EQ(r.selStart, c.expectedSelStart);
  EXPECT_EQ(r.selLength, c.expectedSelLength);
  EXPECT_EQ(r.replacements, c.expectedReplacements);
  EXPECT_EQ(r.found, c.expectedFound);
}

constexpr auto kOne = Command::Replace;
constexpr auto kAll = Command::ReplaceAll;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTest,
    ::testing::Values(
        ReplaceCase{"ReplacesSelectedMatchAndSelectsNext", kOne, "X1 X2", 0, 1, "X", "Y", kDown, false, false,
                    "Y1 X2", 3, 1, 1, true},
        ReplaceCase{"SelectionComparedIgnoringCaseEvenWithMatchCase", kOne, "x1 X2", 0, 1, "X", "Y", kDown, true,
                    false, "Y1 X2", 3, 1, 1, true},
        ReplaceCase{"CaretOnlySearches", kOne, "X1 X2", 0, 0, "X", "Y", kDown, false, false, "X1 X2", 0, 1, 0, true},
        ReplaceCase{"LongerSelectionOnlySearches", kOne, "X1 X2", 0, 2, "X", "Y", kDown, false, false, "X1 X2", 3, 1,
                    0, true},
        ReplaceCase{"LastReplacedThenNothingFound", kOne, "X1 X2", 3, 1, "X", "Y", kDown, false, false, "X1 Y2", 4, 0,
                    1, false},
        ReplaceCase{"NothingSelectedNothingFoundKeepsSelection", kOne, "G1 G2", 1, 2, "X", "Y", kDown, false, false,
                    "G1 G2", 1, 2, 0, false},
        ReplaceCase{"UpReplacesAndSelectsPrevious", kOne, "X1 X2", 3, 1, "X", "Y", kUp, false, false, "X1 Y2", 0,
                    1, 1, true},
        ReplaceCase{"UpDoesNotLookInsideReplacement", kOne, "X1 X2", 3, 1, "X", "XX", kUp, false, false, "X1 XX2", 0,
                    1, 1, true},
        ReplaceCase{"UpLastReplacedCaretBeforeIt", kOne, "X1 XX2", 0, 1, "X", "XX", kUp, false, false, "XX1 XX2", 0,
                    0, 1, false},
        ReplaceCase{"DownDoesNotLookInsideReplacement", kOne, "X1", 0, 1, "X", "XX", kDown, false, false, "XX1", 2, 0,
                    1, false},
        ReplaceCase{"EmptyFindReplacesNothing", kOne, "X1", 0, 0, "", "Y", kDown, false, false, "X1", 0, 0, 0, false},
        ReplaceCase{"AllEmptyFindReplacesNothing", kAll, "X1", 1, 0, "", "Y", kDown, false, false, "X1", 1, 0, 0,
                    false},
        ReplaceCase{"AllDownReplacesEveryMatchAfterCaret", kAll, "X1 X2\nX3", 2, 0, "X", "Y", kDown, false, false,
                    "X1 Y2\nY3", 7, 0, 2, false},
        ReplaceCase{"AllDownReplacesSelectionFirst", kAll, "X1 X2", 0, 1, "X", "Y", kDown, false, false, "Y1 Y2", 4,
                    0, 2, false},
        ReplaceCase{"AllReplacementContainsFind", kAll, "X1 X2", 0, 0, "X", "XX", kDown, false, false, "XX1 XX2", 6, 0,
                    2, false},
        ReplaceCase{"AllEmptyReplacement", kAll, "X1X2X", 0, 0, "X", "", kDown, false, false, "12", 2, 0, 3, false},
        ReplaceCase{"AllNothingFoundKeepsTextAndSelection", kAll, "G1 G2", 1, 1, "X", "Y", kDown, false, false,
                    "G1 G2", 1, 1, 0, false},
        ReplaceCase{"AllWholeWord", kAll, "G1 G10 G1\nG1", 0, 0, "G1", "G01", kDown, false, true, "G01 G10 G01\nG01",
                    15, 0, 3, false},
        ReplaceCase{"AllDownWordStartSeesReplacedText", kAll, "--", 0, 0, "-", "x", kDown, true, true, "x-", 1, 0, 1,
                    false},
        ReplaceCase{"AllUpWordEndSeesReplacedText", kAll, "--", 2, 0, "-", "x", kUp, true, true, "-x", 1, 0, 1, false},
        ReplaceCase{"AllUpFromTextEnd", kAll, "X1 X2 X3", 8, 0, "X", "XX", kUp, false, false, "XX1 XX2 XX3", 0, 0, 3,
                    false},
        ReplaceCase{"AllUpReplacesSelectionFirst", kAll, "X1 X2 X3", 6, 1, "X", "Y", kUp, false, false, "Y1 Y2 Y3", 0,
                    0, 3, false},
        ReplaceCase{"AllSelectionPastEndIsCut", kAll, "X1", 7, 3, "X", "Y", kUp, false, false, "Y1", 0, 0, 1,
                    false}));

// Replace All by the plain rule, one whole-text rewrite per match: select the selection-equal
// match, then search, replace, search again.
ReplaceResult replaceAllOneByOne(std::string text, size_t selStart, size_t selLength, const std::string& find,
                                 const std::string& replacement, bool down, bool matchCase, bool wholeWord) {
  ReplaceResult r;
  selStart = std::min(selStart, text.size());
  selLength = std::min(selLength, text.size() - selStart);
  auto replaceAt = [&](size_t at) {
    text.replace(at, find.size(), replacement);
    selStart = down ? at + replacement.size() : at;
    selLength = 0;
    ++r.replacements;
  };
  if (!find.empty() && selLength == find.size() && equalsIgnoringCase(text.substr(selStart, selLength), find)) {
    replaceAt(selStart);
  }
  while (auto at = searchEditorText(text, selStart, selLength, find, down, matchCase, wholeWord)) replaceAt(*at);
  r.text = text;
  r.selStart = selStart;
  r.selLength = selLength;
  return r;
}

TEST(ReplaceAllTest, AgreesWithReplacingOneMatchAtATime) {
  const std::string alphabet = "aAbB1- \n\xe9\xc9";
  std::mt19937 random(20240501);
  auto pick = [&](size_t maxLength) {
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    std::string text = pick(14);
    std::string find = pick(2);
    if (find.empty()) find = "a";
    std::string replacement = pick(3);
    size_t selStart = random() % (text.size() + 2);
    size_t selLength = random() % 3;
    if (random() % 3 == 0 && selStart + find.size() <= text.size()) {
      text.replace(selStart, find.size(), find);  // a selection that equals the find text
      selLength = find.size();
    }
    bool down = random() % 2, matchCase = random() % 2, wholeWord = random() % 2;
    ReplaceResult expected =
        replaceAllOneByOne(text, selStart, selLength, find, replacement, down, matchCase, wholeWord);
    ReplaceResult actual = replaceAll(text, selStart, selLength, find, replacement, down, matchCase, wholeWord);
    SCOPED_TRACE("text \"" + text + "\" find \"" + find + "\" by \"" + replacement + "\" sel " +
                 std::to_string(selStart) + "," + std::to_string(selLength) + (down ? " down" : " up") +
                 (matchCase ? " case" : "") + (wholeWord ? " word" : ""));
    ASSERT_EQ(actual.text, expected.text);
    ASSERT_EQ(actual.selStart, expected.selStart);
    ASSERT_EQ(actual.selLength, expected.selLength);
    ASSERT_EQ(actual.replacements, expected.replacements);
  }
}

TEST(ReplaceAllTest, ManyMatchesInALongText) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "G1 X1 Y2\n";
  ReplaceResult r = replaceAll(text, 0, 0, "X1", "X10", kDown, true, true);
  EXPECT_EQ(r.replacements, 200000u);
  EXPECT_EQ(r.text.size(), text.size() + 200000);
  EXPECT_EQ(r.text.substr(0, 20), "G1 X10 Y2\nG1 X10 Y2\n");
  EXPECT_EQ(r.selStart, r.text.size() - 4);
}

}  // namespace
}  // namespace kw
