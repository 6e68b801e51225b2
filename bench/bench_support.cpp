#include "bench/bench_support.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "bench/log_generator.h"

namespace kartex::bench {

std::string BenchDir() {
  const char* dir = std::getenv("KARTEX_BENCH_DIR");
  return dir && *dir ? dir : "/tmp/kartex-bench";
}

std::vector<int64_t> BenchRowCounts() {
  std::vector<int64_t> counts = {100000};
  const char* big = std::getenv("KARTEX_BENCH_1M");
  if (big && *big && std::string_view(big) != "0") counts.push_back(1000000);
  return counts;
}

std::string BenchLog(int64_t rows, bool adif) {
  LogGeneratorOptions options;
  options.rows = rows;
  options.seed = 1;
  options.format = adif ? LogFormat::kAdif : LogFormat::kCsv;
  // The generator runs in a child process so that its memory does not show
  // in the peak resident memory reported for the loads.
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    try {
      EnsureGeneratedLog(options, BenchDir());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "generating the benchmark log: %s\n", e.what());
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("could not generate the benchmark log in " + BenchDir());
  }
  return EnsureGeneratedLog(options, BenchDir());  // exists now: only its path is made
}

int64_t CurrentRssBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<int64_t>(resident) * sysconf(_SC_PAGESIZE);
}

void ReleaseFreeMemory() { malloc_trim(0); }

int64_t PeakRssBytes() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<int64_t>(usage.ru_maxrss) * 1024;  // ru_maxrss is in KiB on Linux
}

int64_t FileSizeBytes(const std::string& path) {
  return static_cast<int64_t>(std::filesystem::file_size(path));
}

}  // namespace kartex::bench
