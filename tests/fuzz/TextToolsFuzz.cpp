// Every text tool on one program: line numbers, comments, blanks, line ends, Compress and Super
// Compress, the conversions both ways and between units, the block swap and start point over a
// highlighted block, the object sorts and the split, each from the same text. The rewrites that
// keep the line count must keep it, and a packed program holds no blank.
#include <cstdlib>

#include "core/app/App.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingPort.h"

namespace {

const char* const kCommands[] = {
    "Main.AddLineNumbers1Click",        "Main.RemoveLineNumbers1Click",
    "Main.RemoveComments1Click",        "Main.Packthefileremoveallspaces1Click",
    "Main.AddSemiColons1Click",         "Main.RemoveSemicolons1Click",
    "Main.Compress1Click",              "Main.SuperCompress1Click",
    "Main.ConverttoIncremental1Click",  "Main.ConverttoAbsolute1Click",
    "Main.InchtoMetric1Click",          "Main.MetrictoInch1Click",
    "Main.swap1Click",                  "Main.MovestartingpointForward1Click",
    "Main.SortSmallesttopLargestBottom1Click", "Main.SortObjectsDecending1Click",
    "Main.MoveLargestobjecttobottom1Click",    "Main.SaveSplit2Click",
};
// The commands above that rewrite lines in place, one for one.
constexpr int kSameCount = 6;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  const unsigned options = input.bits();
  const int first = static_cast<int>(input.bits() % 16) - 1, count = static_cast<int>(input.bits() % 16);
  kw::RecordingPort port;
  kw::App app(kwfuzz::scratchFolder(), port);
  app.profile = kwfuzz::defaultProfile();
  kwfuzz::setFlags(app.profile, {"Bridgeport", "SwapXY"}, options);
  app.profile.setCell(72, 1, "40");  // parts of a few dozen lines, so that a short program splits
  app.profile.setText("LineEnds", input.bit(options, 2) ? "$;" : ";");
  app.currentFileName = kwfuzz::scratchFolder() + "/part.nc";
  const std::vector<std::string> program = kwfuzz::programLines(input.rest());
  for (int c = 0; c < static_cast<int>(std::size(kCommands)); ++c) {
    app.buffer.lines = program;
    app.highlighted = {first, count};
    app.commands.run(kCommands[c], app);
    if (c < kSameCount && app.buffer.lines.size() != program.size()) std::abort();
    if (c == 3)
      for (const std::string& line : app.buffer.lines)
        if (line.find(' ') != std::string::npos) std::abort();
  }
  return 0;
}
