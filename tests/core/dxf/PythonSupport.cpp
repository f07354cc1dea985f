#include "core/dxf/PythonSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace kwtest {

bool haveEzdxf() {
  const std::string command = std::string(kPython) + " -c 'import ezdxf' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

PythonRun runTool(const std::string& script, const std::string& arguments) {
  const std::string command = std::string(kPython) + " " KERFWERK_TEST_DATA "/tools/" + script + " " + arguments + " 2>&1";
  PythonRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

}  // namespace kwtest
