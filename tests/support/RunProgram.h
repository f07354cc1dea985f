#pragma once
// Runs the built kerfwerk as a user would, in a folder of its own.
#include <map>
#include <string>
#include <vector>

namespace kwtest {

struct RunResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out, err;
};

// Runs the program with args in folder cwd. env entries are set (an empty value unsets it);
// the display is always unset so nothing can open a window by accident.
RunResult runKerfwerk(const std::vector<std::string>& args, const std::string& cwd,
                      const std::map<std::string, std::string>& env = {});

}  // namespace kwtest
