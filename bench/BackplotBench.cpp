// The backplot on a generated program of 1,000,000 lines: interpreting and drawing it into a
// screen-sized image, against the floor of reading the same program from a file.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/plot/Backplot.h"
#include "core/profile/MachineProfile.h"
#include "support/ProgramGenerator.h"
#include "support/RasterCanvas.h"

namespace {

constexpr int kLines = 1000000;

const std::vector<std::string>& program() {
  static const std::vector<std::string> lines = kwbench::generateProgram(kLines);
  return lines;
}

// The program written once to a temporary file with CR LF line ends, removed at exit.
char gProgramPath[64];

const char* programFile() {
  static const bool written = [] {
    std::snprintf(gProgramPath, sizeof gProgramPath, "/tmp/kerfwerk-bench-%d.nc", static_cast<int>(getpid()));
    std::FILE* out = std::fopen(gProgramPath, "wb");
    if (!out) std::abort();
    for (const std::string& line : program()) {
      std::fwrite(line.data(), 1, line.size(), out);
      std::fwrite("\r\n", 1, 2, out);
    }
    std::fclose(out);
    std::atexit([] { std::remove(gProgramPath); });
    return true;
  }();
  (void)written;
  return gProgramPath;
}

class NullCanvas : public kw::PlotCanvas {
 public:
  void setPen(kw::Rgb, int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override { ++lines; }
  void clear() override {}
  void refresh() override {}
  int width() const override { return 1920; }
  int height() const override { return 1080; }
  long long lines = 0;
};

// Reading the program file line by line into memory: what opening the file costs at least.
void BM_ReadProgramFile(benchmark::State& state) {
  const char* path = programFile();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    bytes = 0;
    while (std::getline(in, line)) {
      bytes += line.size() + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ReadProgramFile)->Unit(benchmark::kMillisecond);

// Fitting the view scale to the program, as opening a file does before the plot.
void BM_CalcScale(benchmark::State& state) {
  kw::MachineProfile profile;
  kwbench::setBenchDialect(profile);
  kw::PlotView view;
  view.windowWidth = 1920;
  NullCanvas canvas;
  kw::Backplot plot(profile, view, canvas);
  plot.Setaxis();
  for (auto _ : state) plot.CalcScale(program());
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["ViewScale"] = view.viewScale;
}
BENCHMARK(BM_CalcScale)->Unit(benchmark::kMillisecond);

// The full plot: every block interpreted, every chord projected and rasterised into a
// 1920 x 1080 image; args: the three view angles (0 = flat, 1 = rotated in 3-D).
void BM_PlotAllRaster(benchmark::State& state) {
  kw::MachineProfile profile;
  kwbench::setBenchDialect(profile);
  kw::PlotView view;
  view.windowWidth = 1920;
  if (state.range(0) == 1) {
    view.angleAboutY = 30;
    view.angleAboutX = -20;
    view.angleAboutZ = 10;
  }
  kwbench::RasterCanvas canvas(1920, 1080);
  kw::Backplot plot(profile, view, canvas);
  plot.Setaxis();
  plot.CalcScale(program());
  for (auto _ : state) plot.PlotAll(program(), false, true, 0, 0);
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["inked_px"] = static_cast<double>(canvas.inkedPixels());
  state.counters["ViewScale"] = view.viewScale;
  state.SetLabel(plot.state().labels.caption);
}
BENCHMARK(BM_PlotAllRaster)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The interpreter and projection alone, onto a canvas that only counts lines.
void BM_PlotAllNullCanvas(benchmark::State& state) {
  kw::MachineProfile profile;
  kwbench::setBenchDialect(profile);
  kw::PlotView view;
  view.windowWidth = 1920;
  NullCanvas canvas;
  kw::Backplot plot(profile, view, canvas);
  plot.Setaxis();
  plot.CalcScale(program());
  for (auto _ : state) {
    canvas.lines = 0;
    plot.PlotAll(program(), false, true, 0, 0);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.counters["segments"] = static_cast<double>(canvas.lines);
}
BENCHMARK(BM_PlotAllNullCanvas)->Unit(benchmark::kMillisecond);

}  // namespace
