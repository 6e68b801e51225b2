#pragma once
// Runs a program as a script would: in a given folder, with its standard
// output and standard error caught.

#include <string>
#include <vector>

namespace kartex::testing {

struct ChildRun {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out, err;
};

// Runs program with args (passed as they are, no shell) in folder. On POSIX
// systems the locale is C.UTF-8, so that the program's own regional settings
// are the defaults.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args,
                  const std::string& folder);

}  // namespace kartex::testing
