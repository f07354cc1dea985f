// The offset pipeline on a path of 10,000 segments (straight moves with a clockwise and a
// counter-clockwise arc every tenth segment, in one Begin Block ... End Block), against the
// floor of copying the path's lines once.
#include <cmath>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/geometry/Offset.h"
#include "core/profile/MachineProfile.h"
#include "core/text/FixedText.h"
#include "support/CopyFloor.h"
#include "support/ProgramGenerator.h"
#include "support/QuietPort.h"

namespace {

constexpr int kSegments = 10000;

const std::vector<std::string>& path() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> p = {"G90", "M07", "G01 X0.000 Y0.000"};
    double x = 0, y = 0;
    auto at = [](double v) { return kw::FixedText(v, 3, 7); };
    for (int s = 1; s <= kSegments; ++s) {
      if (s % 10 == 0) {  // a half circle of radius 1 up or down, centre relative to its start
        const bool cw = s % 20 == 0;
        p.push_back(std::string(cw ? "G02" : "G03") + " X" + at(x + 2) + " Y" + at(y) + " I1.000 J0.000");
        x += 2;
      } else {
        x += 1;
        y = std::sin(s * 0.37) * 3;
        p.push_back("G01 X" + at(x) + " Y" + at(y));
      }
    }
    p.insert(p.end(), {"M08", "M30"});
    return p;
  }();
  return lines;
}

void BM_CopyPathLines(benchmark::State& state) { kwbench::copyLinesOnce(state, path(), kSegments); }
BENCHMARK(BM_CopyPathLines)->Unit(benchmark::kMillisecond);

// The automatic pipeline, from the table to the lines of the offset window's editor.
void BM_OffsetPipeline(benchmark::State& state) {
  kw::MachineProfile profile;
  kwbench::setBenchDialect(profile);
  kw::OffsetSettings settings;
  settings.dialect = kw::Dialect(profile);
  settings.incrementalIJ = true;
  kwbench::QuietPort port;
  for (auto _ : state) {
    kw::OffsetWindowState window;
    window.offsetText = "0.125";
    kw::Button4Click(path(), {}, window, settings, port);
    if (window.lines.size() < kSegments) state.SkipWithError("the offset path lost segments");
    benchmark::DoNotOptimize(window.lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_OffsetPipeline)->Unit(benchmark::kMillisecond);

}  // namespace
