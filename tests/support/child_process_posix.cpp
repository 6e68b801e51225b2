#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "child_process.h"
#include "temp_dir.h"

namespace kartex::testing {

ChildRun RunChild(const std::string& program, const std::vector<std::string>& args,
                  const std::string& folder) {
  // Named after this process: tests running at once may share the folder.
  const std::string own = std::to_string(::getpid());
  const std::string outPath = folder + "/.child-stdout-" + own;
  const std::string errPath = folder + "/.child-stderr-" + own;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  ChildRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  ::unlink(outPath.c_str());
  ::unlink(errPath.c_str());
  return run;
}

}  // namespace kartex::testing
