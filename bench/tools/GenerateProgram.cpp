// kerfwerk_gen_program OUT [LINES]: writes the benchmark program (default 1,000,000 lines)
// with CR LF line ends, as Kerfwerk saves programs.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/ProgramGenerator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT [LINES]\n", argv[0]);
    return 2;
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 1000000;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  for (const std::string& line : kwbench::generateProgram(count)) {
    std::fwrite(line.data(), 1, line.size(), out);
    std::fwrite("\r\n", 1, 2, out);
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
