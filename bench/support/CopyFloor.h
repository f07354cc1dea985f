#pragma once
// The floor of every rewrite of a program: copying its lines once.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace kwbench {

inline void copyLinesOnce(benchmark::State& state, const std::vector<std::string>& program, long items) {
  for (auto _ : state) {
    std::vector<std::string> lines = program;
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * items);
}

}  // namespace kwbench
