#include "core/texttools/DecimalAscii.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

TEST(DecimalAscii, CodesOfTheFirst80Characters) {
  EXPECT_EQ(characterCodes(std::string("G1\r\x01\xff", 5)), (std::vector<int>{71, 49, 13, 1, 255}));
  EXPECT_EQ(characterCodes(""), std::vector<int>{});
  EXPECT_EQ(characterCodes(std::string(100, 'X')), std::vector<int>(80, 88));
}

TEST(DecimalAscii, LineFromCodeTexts) {
  struct Case {
    const char* name;
    std::vector<std::string> codes;
    std::string line;
  };
  const Case cases[] = {
      {"every code its character; 13 is a carriage return inside the line", {"71", "48", "13", "77", "51"}, "G0\rM3"},
      {"cleared, zero and text that is not a whole number are skipped", {"71", "", "0", "x", "4.5", "49"}, "G1"},
      {"blanks around a number are allowed", {" 88 ", "\t49"}, "X1"},
      {"codes past a byte and below 1 name no character", {"256", "-7", "255", "1"}, "\xff\x01"},
      {"only the first 80 columns take part", std::vector<std::string>(90, "65"), std::string(80, 'A')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(lineFromCodes(c.codes), c.line);
  }
}

}  // namespace
}  // namespace kw
