#include "core/texttools/GcodeHighlight.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

HighlightWords plasmaWords() {
  Dialect d;
  using enum LabelRow;
  const std::pair<LabelRow, const char*> rows[] = {{Line, "G01"},       {ArcCw, "G02"},     {ArcCcw, "G 03"},
                                                   {Trans127, "G00"},   {BeginBlock, "M07"}, {EndBlock, "M08"},
                                                   {Trans170, "("},     {Trans171, ")"},     {ALetter, "A"}};
  for (auto [row, text] : rows) d.rows[rowIndex(row)] = text;
  d.n = "N", d.x = "X", d.y = "Y", d.z = "Z", d.i = "I", d.j = "J", d.k = "K", d.r = "R";
  return HighlightWords(d);
}

TEST(GcodeHighlight, SpansOfSampleLines) {
  using enum WordKind;
  struct Case {
    const char* line;
    std::vector<WordSpan> spans;
  };
  const Case cases[] = {
      {"N10 G01 X1.5 Y-2 I0.5 J0 M07 (CUT ON)",
       {{0, 3, LineNumber}, {4, 3, Motion}, {8, 4, Axis}, {13, 3, Axis}, {17, 4, Centre}, {22, 2, Centre},
        {25, 3, CutOn}, {29, 8, Comment}}},
      {"G00X0Y0", {{0, 3, Motion}, {3, 2, Axis}, {5, 2, Axis}}},
      // G017 is no motion word (a longer number); the arc word is read without its blank.
      {"G017 G03X1", {{5, 3, Motion}, {8, 2, Axis}}},
      {"(open comment G01 X1", {{0, 20, Comment}}},
      {"M08 M081 XYZ", {{0, 3, CutOff}}},
      {"A-90.5 R2 Z.5(a)(b)", {{0, 6, Axis}, {7, 2, Centre}, {10, 3, Axis}, {13, 3, Comment}, {16, 3, Comment}}},
      {"", {}},
  };
  const HighlightWords words = plasmaWords();
  for (const Case& c : cases) EXPECT_EQ(highlightLine(c.line, words), c.spans) << c.line;
}

}  // namespace
}  // namespace kw
