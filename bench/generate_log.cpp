// generate_log ROWS OUT.csv [SEED] [--empty-rows N] [--adif]
// Writes a Logger32-style log of ROWS contacts for the benchmarks (or, with
// --adif, the same contacts as an ADIF log) and prints what it holds on
// standard error.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/log_generator.h"

namespace {

int Usage() {
  std::fprintf(
      stderr,
      "usage: generate_log ROWS OUT.csv [SEED] [--empty-rows N] [--adif]\n"
      "  ROWS  number of contacts (the header row is written in addition)\n"
      "  SEED  seed of the generator (default 1); the same ROWS and SEED give the same file\n"
      "  --empty-rows N  also write N rows without any text, spread through the log\n"
      "  --adif  write the same contacts as an ADIF log (UTF-8, byte lengths)\n");
  return 2;
}

bool ParseCount(const char* text, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  kartex::bench::LogGeneratorOptions options;
  std::string out;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    long long value = 0;
    if (arg == "--adif") {
      options.format = kartex::bench::LogFormat::kAdif;
    } else if (arg == "--empty-rows") {
      if (i + 1 >= argc || !ParseCount(argv[++i], value)) return Usage();
      options.emptyRows = value;
    } else if (positional == 0) {
      if (!ParseCount(argv[i], value)) return Usage();
      options.rows = value;
      ++positional;
    } else if (positional == 1) {
      out = arg;
      ++positional;
    } else if (positional == 2) {
      char* end = nullptr;
      errno = 0;
      const unsigned long long seed = std::strtoull(argv[i], &end, 10);
      if (errno != 0 || end == argv[i] || *end != '\0') return Usage();
      options.seed = seed;
      ++positional;
    } else {
      return Usage();
    }
  }
  if (positional < 2) return Usage();
  try {
    const auto s = kartex::bench::GenerateLog(options, out);
    std::fprintf(
        stderr,
        "%s: %lld contacts, %lld empty rows, %.1f MiB\n"
        "  stations %lld, worked once %lld (%.1f %% of the rows), most worked %lld times\n"
        "  QSL_VIA: manager %lld rows, DIRECT %lld rows\n",
        out.c_str(), static_cast<long long>(s.rows), static_cast<long long>(s.emptyRows),
        static_cast<double>(s.bytes) / (1024.0 * 1024.0), static_cast<long long>(s.stations),
        static_cast<long long>(s.stationsWorkedOnce),
        s.rows ? 100.0 * static_cast<double>(s.stationsWorkedOnce) / static_cast<double>(s.rows)
               : 0.0,
        static_cast<long long>(s.maxQsoCount), static_cast<long long>(s.managerRows),
        static_cast<long long>(s.directRows));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "generate_log: %s\n", e.what());
    return 1;
  }
  return 0;
}
