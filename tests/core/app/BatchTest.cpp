#include "core/app/Batch.h"

#include <gtest/gtest.h>

#include "core/app/AppFixture.h"
#include "core/text/FileIo.h"

namespace kw {
namespace {

using kwtest::AppFixture;

// What --do hands the program besides the commands: the highlighted block and the control values.
TEST(DoCommands, SelectAndSetGiveTheBlockAndTheControlsTheirValues) {
  AppFixture f;
  DoRequest request;
  request.sets = {{"RCheckbox", "1"}, {"DpEdit", "4"}, {"CutSpeedEdit", "12.5"}, {"SlideEdit1", "2.000"}};
  request.select = HighlightedBlock{2, 3};
  request.input = f.dir.write("in.nc", "G1\n");
  request.output = f.dir.file("out.nc");
  EXPECT_EQ(runDoCommands(*f.app, request), 0);
  EXPECT_EQ(f.app->highlighted.first, 2);
  EXPECT_EQ(f.app->highlighted.count, 3);
  EXPECT_TRUE(f.app->profile.flag("IJFOURQUAD")) << "the R option's rule runs";
  EXPECT_EQ(f.app->profile.text("DpEdit"), "4");
  EXPECT_EQ(f.app->plot.cutSpeed, "12.5");
  EXPECT_EQ(f.app->plot.slideDistance, "2.000");
  EXPECT_EQ(f.app->title, "out.nc");
  EXPECT_EQ(splitCommandList("A,,B,"), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace kw
