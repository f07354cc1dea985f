#include "core/app/EditorSearch.h"

#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace kw {
namespace {

enum Options { Up = 0, Down = 1, Case = 2, Word = 4 };
bool has(int options, Options o) { return (options & o) != 0; }

const std::string kTwoLines = "G1 X1\nG1 X2";  // X at 3 and 9, G1 at 0 and 6

TEST(SearchEditorText, FindsTheMatchStart) {
  struct Row {
    std::string text;
    size_t selStart, selLength;
    std::string find;
    int options;
    std::optional<size_t> expected;
  };
  const Row cases[] = {
      {kTwoLines, 0, 0, "", Down, std::nullopt},      // empty find finds nothing down
      {kTwoLines, 3, 1, "X", Down, 9},                // down starts at selection end
      {"XXX", 0, 1, "XX", Down | Case, 1},            // down match may start right at selection end
      {"G1 X1\nM30", 0, 0, "M30", Down | Case, 6},    // down finds at very end
      {"G1 X1", 4, 0, "X1", Down, std::nullopt},      // down find longer than rest
      {"X1 X2 X3", 8, 0, "X", Up, 6},                 // up from text end finds last
      {"G1 X1\nM30", 9, 0, "M30", Up, 6},             // up finds match ending at very end
      {"ABAB", 3, 0, "AB", Up | Case, 0},             // up match ends before selection start
      {"ABAB", 2, 2, "AB", Up | Case, 0},             // up ignores selection length
      {"AB", 1, 0, "AB", Up | Case, std::nullopt},    // up caret closer to start than find length
      {kTwoLines, 3, 1, "X", Up, std::nullopt},       // up nothing before
      {"g1 x1", 0, 0, "X1", Down, 3},                 // ignoring case finds lower case
      {"x1 X1", 0, 0, "X1", Down | Case, 3},          // match case skips lower case
      {"A \xe9t\xe9", 0, 0, "\xc9T\xc9", Down, 2},    // ignoring case Latin-1 letters
      {"\xf7", 0, 0, "\xd7", Down, std::nullopt},     // division sign is not lower case
      {"\xff", 0, 0, "\xdf", Down, std::nullopt},     // y diaeresis has no Latin-1 capital
      {"G10 X1\nG1 X2", 0, 0, "G1", Down | Word, 7},  // whole word G1 skips G10
      {"G1 G10", 6, 0, "G1", Up | Word, 0},           // whole word up skips G10
      {"XG1 G1", 0, 0, "G1", Down | Word, 4},         // whole word skips inside word
      {"X G1", 0, 0, "G1", Down | Word, 2},           // whole word match ending the text
      {"\xe9G1\xe9", 0, 0, "G1", Down | Word, 1},     // whole word Latin-1 letter delimits
      {"G1G1 G1", 0, 2, "G1", Down | Word, 5},        // whole word caret inside word waits for next word
      {"G1 G1", 0, 3, "G1", Down | Word, 3},          // whole word caret after delimiter
      {"A(B (B", 0, 0, "(B", Down | Case | Word, 4},  // whole word find starting with delimiter
      {"G1", 10, 5, "G1", Down, std::nullopt},        // selection past end down
      {"G1", 10, 5, "G1", Up, 0},                     // selection past end up
      {std::string("A\0\1B", 4), 0, 0, std::string("\0\1", 2), Down | Case, 1},  // NUL and control bytes
      {std::string("A\0B", 3), 0, 0, "B", Down | Word, 2},                       // NUL is a delimiter
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\" find \"" + c.find + "\" from " + std::to_string(c.selStart));
    EXPECT_EQ(searchEditorText(c.text, c.selStart, c.selLength, c.find, has(c.options, Down), has(c.options, Case),
                               has(c.options, Word)),
              c.expected);
  }
  EXPECT_EQ(cannotFindMessage("G1"), "Cannot find \"G1\".");
  EXPECT_EQ(replacedMessage(1) + ", " + replacedMessage(2), "Replaced 1 occurrence, Replaced 2 occurrences");
}

TEST(Replace, GivesTextSelectionAndCount) {
  enum Command { One, All };
  struct Expected {
    std::string text;
    size_t selStart, selLength, replacements;
    bool found;
  };
  struct Row {
    Command command;
    std::string text;
    size_t selStart, selLength;
    std::string find, replacement;
    int options;
    Expected expected;
  };
  const Row cases[] = {
      {One, "X1 X2", 0, 1, "X", "Y", Down, {"Y1 X2", 3, 1, 1, true}},  // replaces selected match and selects next
      {One, "x1 X2", 0, 1, "X", "Y", Down | Case, {"Y1 X2", 3, 1, 1, true}},  // selection compared ignoring case
      {One, "X1 X2", 0, 0, "X", "Y", Down, {"X1 X2", 0, 1, 0, true}},         // caret only searches
      {One, "X1 X2", 0, 2, "X", "Y", Down, {"X1 X2", 3, 1, 0, true}},         // longer selection only searches
      {One, "X1 X2", 3, 1, "X", "Y", Down, {"X1 Y2", 4, 0, 1, false}},        // last replaced then nothing found
      {One, "G1 G2", 1, 2, "X", "Y", Down, {"G1 G2", 1, 2, 0, false}},        // nothing found keeps selection
      {One, "X1 X2", 3, 1, "X", "Y", Up, {"X1 Y2", 0, 1, 1, true}},           // up replaces and selects previous
      {One, "X1 X2", 3, 1, "X", "XX", Up, {"X1 XX2", 0, 1, 1, true}},         // up does not look inside replacement
      {One, "X1 XX2", 0, 1, "X", "XX", Up, {"XX1 XX2", 0, 0, 1, false}},      // up last replaced caret before it
      {One, "X1", 0, 1, "X", "XX", Down, {"XX1", 2, 0, 1, false}},            // down does not look inside replacement
      {One, "X1", 0, 0, "", "Y", Down, {"X1", 0, 0, 0, false}},               // empty find replaces nothing
      {All, "X1", 1, 0, "", "Y", Down, {"X1", 1, 0, 0, false}},               // empty find replaces nothing
      {All, "X1 X2", 0, 1, "X", "Y", Down, {"Y1 Y2", 4, 0, 2, false}},        // down replaces selection first
      {All, "X1 X2", 0, 0, "X", "XX", Down, {"XX1 XX2", 6, 0, 2, false}},     // replacement contains find
      {All, "G1 G10 G1\nG1", 0, 0, "G1", "G01", Down | Word, {"G01 G10 G01\nG01", 15, 0, 3, false}},  // whole word
      {All, "--", 0, 0, "-", "x", Down | Case | Word, {"x-", 1, 0, 1, false}},  // down word start sees replaced text
      {All, "--", 2, 0, "-", "x", Up | Case | Word, {"-x", 1, 0, 1, false}},    // up word end sees replaced text
      {All, "X1 X2 X3", 6, 1, "X", "Y", Up, {"Y1 Y2 Y3", 0, 0, 3, false}},      // up replaces selection first
      {All, "X1", 7, 3, "X", "Y", Up, {"Y1", 0, 0, 1, false}},                  // selection past end is cut
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command == One ? "Replace" : "Replace All") + " in \"" + c.text + "\" from " +
                 std::to_string(c.selStart));
    bool down = has(c.options, Down), matchCase = has(c.options, Case), word = has(c.options, Word);
    ReplaceResult r = c.command == One
                          ? replaceStep(c.text, c.selStart, c.selLength, c.find, c.replacement, down, matchCase, word)
                          : replaceAll(c.text, c.selStart, c.selLength, c.find, c.replacement, down, matchCase, word);
    const Expected& e = c.expected;
    EXPECT_EQ(std::tie(r.text, r.selStart, r.selLength, r.replacements, r.found),
              std::tie(e.text, e.selStart, e.selLength, e.replacements, e.found));
  }
}

TEST(ReplaceAllTest, ManyMatchesInALongText) {
  std::string text, expected;
  for (int i = 0; i < 200000; ++i) text += "G1 X1 Y2\n", expected += "G1 X10 Y2\n";
  ReplaceResult r = replaceAll(text, 0, 0, "X1", "X10", true, true, true);
  EXPECT_EQ(r.replacements, 200000u);
  EXPECT_TRUE(r.text == expected);
  EXPECT_EQ(r.selStart, r.text.size() - 4);
}

}  // namespace
}  // namespace kw
