// The text tools on a generated program of 1,000,000 lines: line numbers added and removed,
// blanks removed, Compress, and the conversion to incremental and back, each against
// BM_CopyLines (SlideBench.cpp), the floor of copying the lines once. Each should stay under 1 s.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/dxf/CleanupPasses.h"
#include "core/geometry/Slide2.h"
#include "core/profile/MachineProfile.h"
#include "core/texttools/CoordinateConversion.h"
#include "core/texttools/LineRewrites.h"
#include "support/ProgramGenerator.h"
#include "support/QuietPort.h"

namespace {

constexpr int kLines = 1000000;

const std::vector<std::string>& program() { return kwbench::millionLineProgram(); }

kw::MachineProfile& profile() {
  static kw::MachineProfile p = [] {
    kw::MachineProfile made;
    kwbench::setBenchDialect(made);
    return made;
  }();
  return p;
}

kw::SlideSettings settings() {
  kw::SlideSettings s;
  s.dialect = kw::Dialect(profile());
  s.decimals = 3;
  s.incrementalIJ = true;
  return s;
}

bool convert(std::vector<std::string>& lines, char mode) {
  const kw::SlideSettings s = settings();
  const kw::ConversionCodes codes{s.dialect.row(kw::LabelRow::Absolute), s.dialect.row(kw::LabelRow::Incremental),
                                  true};
  kw::ToIncremental toIncremental(codes);
  kw::ToAbsolute toAbsolute(codes);
  kwbench::QuietPort port;
  kw::LineConversion* rule = mode == 'I' ? static_cast<kw::LineConversion*>(&toIncremental) : &toAbsolute;
  return kw::SLIDE2(lines, mode, s, {}, port, rule).end == kw::SlideEnd::Done;
}

// The program the rewrite starts from: the generated one, or (for the way back) that program
// converted to incremental.
const std::vector<std::string>& incrementalProgram() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> made = program();
    convert(made, 'I');
    return made;
  }();
  return lines;
}

enum Tool { AddNumbers, RemoveNumbers, RemoveSpaces, Compress, ToIncremental, ToAbsolute };
const char* const kNames[] = {"add line numbers", "remove line numbers", "remove spaces",
                              "compress",         "to incremental",      "to absolute"};

// The copy of the lines each run starts from is not timed.
void BM_TextTool(benchmark::State& state) {
  const Tool tool = static_cast<Tool>(state.range(0));
  kwbench::QuietPort port;
  kw::DxfPassContext context{profile(), port, "/tmp"};
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> lines = tool == ToAbsolute ? incrementalProgram() : program();
    state.ResumeTiming();
    bool ok = true;
    switch (tool) {
      case AddNumbers: kw::Renumber(lines, "N", 1000, 1); break;
      case RemoveNumbers: ok = kw::RemoveNumbers(lines, "N") > 0; break;
      case RemoveSpaces: kw::RemoveSpaces(lines); break;
      case Compress: kw::Compress(lines, context); break;
      case ToIncremental: ok = convert(lines, 'I'); break;
      case ToAbsolute: ok = convert(lines, 'A'); break;
    }
    if (!ok) state.SkipWithError("the rewrite did not run over the whole program");
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel(kNames[tool]);
}
BENCHMARK(BM_TextTool)->DenseRange(AddNumbers, ToAbsolute)->Unit(benchmark::kMillisecond);

}  // namespace
