#include "core/dxf/DxfPass.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

using Lines = std::vector<std::string>;

// A line that repeats the one before shares its text: taking the later one back, replacing either,
// or adding a line read from the lines themselves must leave every other line as it was.
TEST(PassLines, SharedTextsStayApart) {
  PassLines lines = {"G00 X1 Y2", "G01 X1 Y2", "G01 X1 Y2"};
  EXPECT_EQ(lines.bytes(), 18u);  // the third line shares the second's text
  lines.pop_back();
  lines.push_back("G02 X3 Y4");
  EXPECT_EQ(lines.strings(), (Lines{"G00 X1 Y2", "G01 X1 Y2", "G02 X3 Y4"}));

  lines.push_back(lines[2]);  // shares the text again
  lines.set(3, "G03");        // the second of two sharing lines, shorter
  lines.set(0, lines[1].substr(4));
  lines.push_back(lines[0]);
  lines.set(1, "G01 X10.5 Y20.25");  // longer than its place
  EXPECT_EQ(lines.strings(), (Lines{"X1 Y2", "G01 X10.5 Y20.25", "G02 X3 Y4", "G03", "X1 Y2"}));
  lines.pop_back();
  lines.pop_back();
  lines.emplace_back();
  EXPECT_EQ(lines, (PassLines{"X1 Y2", "G01 X10.5 Y20.25", "G02 X3 Y4", ""}));
}

// Lines passed on from one pass to the next share their texts: they outlive the lines they came
// from, changing either leaves the other alone, and lines kept elsewhere are copied.
TEST(PassLines, PassedOnLinesOutliveTheirPass) {
  auto in = std::make_unique<PassLines>(PassLines{"G00 X1 Y2", "G01 X3 Y4", "M07"});
  PassLines out = in->sharingTexts();
  const PassLines elsewhere = {"M08"};
  out.share(*in, 1);
  out.share(*in, 0);
  out.share(elsewhere, 0);
  out.push_back("G02 X5 Y6");
  EXPECT_EQ(out.bytes(), 12u);  // only the copied line and the new one
  in->set(1, "G01 X9 Y9");
  out.set(1, "G00");
  EXPECT_EQ(in->strings(), (Lines{"G00 X1 Y2", "G01 X9 Y9", "M07"}));
  in.reset();
  EXPECT_EQ(out.strings(), (Lines{"G01 X3 Y4", "G00", "M08", "G02 X5 Y6"}));
}

// Lines added after others: texts held by the added lines alone are taken over, shared ones are
// copied, and the lines added afterwards go after them.
TEST(PassLines, AppendedLinesFollowInOrder) {
  PassLines lines = {"G00 X1", "G01 X2"};
  PassLines own = {"G02 X3", "", "G03 X4"};
  lines.append(std::move(own));
  const PassLines source = {"M05", "M30"};
  PassLines shared = source.sharingTexts();
  shared.share(source, 1);
  lines.append(std::move(shared));
  lines.append(PassLines());
  lines.push_back("M02");
  EXPECT_EQ(lines.strings(), (Lines{"G00 X1", "G01 X2", "G02 X3", "", "G03 X4", "M30", "M02"}));
  EXPECT_EQ(lines.bytes(), 30u);
  EXPECT_EQ(source.strings(), (Lines{"M05", "M30"}));
}

// A line's plain-move mark goes with its text wherever the text goes unchanged, and a line given
// a text anew is unmarked.
TEST(PassLines, MarksGoWithTheirTexts) {
  PassLines in;
  in.push_back("G01 X1 Y2 ", true);
  in.push_back("G01 X1 Y2 ", true);  // shares the text before
  in.push_back("G02 X3 Y4 I1 J0 ");
  in.pushNew("G01 X3 Y4 ", true);
  in.repeatLast();
  in.push_back("G01 X5 Y6 ");
  auto marks = [](const PassLines& lines) {
    std::string m;
    for (std::size_t k = 0; k < lines.size(); ++k) m += lines.plainMove(k) ? 'p' : '-';
    return m;
  };
  EXPECT_EQ(marks(in), "pp-pp-");

  PassLines shared = in.sharingTexts(), copied;
  for (std::size_t k = 0; k < in.size(); ++k) shared.share(in, k), copied.share(in, k);
  EXPECT_EQ(marks(shared), "pp-pp-");
  EXPECT_EQ(marks(copied), "pp-pp-");
  EXPECT_EQ(copied, in);

  shared.set(0, shared[0]);  // the same text, written anew
  shared.setShared(2, in, 3);
  shared.setShared(3, in, 2);
  copied.setShared(1, in, 2);  // no texts in common: written as a copy
  copied.setShared(2, in, 0);
  EXPECT_EQ(marks(shared), "-pp-p-");
  EXPECT_EQ(marks(copied), "p--pp-");

  PassLines moved = in.sharingTexts();
  moved.growForOverwrite(in.size());
  moved.copy(in, 0, in.size(), 0);
  moved.move(3, 6, 0);
  EXPECT_EQ(marks(moved), "pp-pp-");  // lines 3 to 5 over 0 to 2: "pp-", then "pp-" as it was
  moved.pop_back();
  moved.emplace_back();
  moved.resize(8);
  EXPECT_EQ(marks(moved), "pp-pp---");

  PassLines taken = {"M03"};
  taken.append(std::move(moved));
  EXPECT_EQ(marks(taken), "-pp-pp---");
  EXPECT_EQ(marks(PassLines(in)), "------");  // a copy of the lines is not marked
}

// Texts as long as a block or longer than the length a line's place can tell, among short ones.
TEST(PassLines, LongTextsReadBackWhole) {
  const std::size_t block = std::size_t{1} << 20;
  const Lines texts = {"G01 X1", std::string(block - 2, 'a'), std::string(block - 1, 'b'), "G02",
                       std::string(3 * block, 'c'), std::string(block, 'd'), "M30"};
  PassLines lines;
  for (const std::string& text : texts) lines.push_back(text);
  EXPECT_EQ(lines.strings(), texts);
  lines.set(0, std::string(2 * block, 'e'));
  lines.set(4, "X");
  EXPECT_EQ(lines[0], std::string(2 * block, 'e'));
  EXPECT_EQ(lines[4], "X");
  EXPECT_EQ(lines[5], texts[5]);
}

// Consumed lines come in order, the line before still readable, and are gone afterwards; texts
// other lines share are kept for them.
TEST(PassLines, ConsumedLinesComeInOrder) {
  for (const bool shared : {false, true}) {
    PassLines lines;
    Lines texts;
    for (int n = 0; n < 200000; ++n) texts.push_back("G01 X" + std::to_string(n) + " Y" + std::to_string(n % 7));
    for (const std::string& text : texts) lines.push_back(text);
    PassLines other;
    if (shared) {
      other = lines.sharingTexts();
      other.share(lines, 199999);
    }
    Lines taken;
    std::string_view before;
    lines.consume([&](std::string_view line, std::size_t index) {
      if (index > 0) ASSERT_EQ(before, texts[index - 1]);
      taken.emplace_back(line);
      before = line;
    });
    EXPECT_EQ(taken, texts);
    EXPECT_TRUE(lines.empty());
    if (shared) EXPECT_EQ(other.strings(), Lines{texts.back()});
  }
}

}  // namespace
}  // namespace kw
