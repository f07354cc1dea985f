#pragma once
// A large, plausible cutting program for benchmarks: a nest of parts, each a rapid to its
// start, a cut-on text, straight cuts and arcs in the XY plane, a few arcs in the XZ and YZ
// planes, and a cut-off text. Deterministic for a given line count.
#include <string>
#include <vector>

#include "core/profile/MachineProfile.h"

namespace kwbench {

// About `lineCount` lines (the last part is completed), every tenth with a line number;
// about 22 bytes per line. Words use the dialect of a plain profile: G00/G01/G02/G03, G17/G18/G19,
// G90, M07 (cut on), M08 (cut off), letters X Y Z I J K; arc centres relative to the arc's
// start. The first cut carries an F word, so that other interpreters (LinuxCNC's rs274, for
// one) accept the same file.
std::vector<std::string> generateProgram(int lineCount);

// The program of 1,000,000 lines the routine benchmarks share, generated once.
const std::vector<std::string>& millionLineProgram();

// Gives a profile the dialect those programs use: the words above, 3 decimal places, a
// single-step delay of 125 ms, arc centres relative to the start ("Incremental  Type I J").
void setBenchDialect(kw::MachineProfile& profile);

}  // namespace kwbench
