#pragma once
// The scripts under tests/tools that check our DXF files against an independent DXF library
// (python3-ezdxf, a Debian package).
#include <string>

namespace kwtest {

// The system's python3, which has the Debian package; the one first on PATH may lack it.
inline constexpr const char* kPython = "/usr/bin/python3";

// True when kPython can import ezdxf.
bool haveEzdxf();

struct PythonRun {
  int status = -1;     // the script's exit status, -1 when it did not exit normally
  std::string output;  // what it printed, standard output and error together
};

// Runs tests/tools/`script` with the given argument text.
PythonRun runTool(const std::string& script, const std::string& arguments);

}  // namespace kwtest
