// The keypad rewrites (slide, spin, scale) on a generated program of 1,000,000 lines, against
// the floor of copying the lines once.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/geometry/Slide2.h"
#include "core/profile/MachineProfile.h"
#include "support/CopyFloor.h"
#include "support/ProgramGenerator.h"
#include "support/QuietPort.h"

namespace {

constexpr int kLines = 1000000;

const std::vector<std::string>& program() { return kwbench::millionLineProgram(); }

// Copying the program's lines once: what any rewrite of every line costs at least.
void BM_CopyLines(benchmark::State& state) { kwbench::copyLinesOnce(state, program(), kLines); }
BENCHMARK(BM_CopyLines)->Unit(benchmark::kMillisecond);

// SLIDE2 over the whole program; the argument is the operation code: '2' slides down, '5'
// spins, 'X' scales. The copy of the lines it rewrites is not timed.
void BM_Slide2(benchmark::State& state) {
  kw::MachineProfile profile;
  kwbench::setBenchDialect(profile);
  kw::SlideSettings settings;
  settings.dialect = kw::Dialect(profile);
  settings.distance = 5;
  settings.size = 2;
  settings.incrementalIJ = true;
  const char code = static_cast<char>(state.range(0));
  kwbench::QuietPort port;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> lines = program();
    state.ResumeTiming();
    const kw::SlideResult result = kw::SLIDE2(lines, code, settings, {}, port);
    if (result.rewritten != lines.size()) state.SkipWithError("not every line was rewritten");
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel(std::string(1, code));
}
BENCHMARK(BM_Slide2)->Arg('2')->Arg('5')->Arg('X')->Unit(benchmark::kMillisecond);

}  // namespace
