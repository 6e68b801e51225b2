#pragma once
// Generator of large Logger32-style logs for the benchmarks: 53 columns with
// ADIF header names, every field quoted, CR LF line ends, Windows-1250 bytes.
// Most stations are worked once and a few many times, as in a real log.
// The same row count and seed always give the same file, byte for byte.
// In the ADIF form the same contacts become an ADIF log: one record per
// contact with its non-empty fields in the column order of the CSV, UTF-8
// with byte lengths; the first record carries every field (empty ones with
// length 0), so that the log table read from either file is the same.

#include <cstdint>
#include <string>

namespace kartex::bench {

enum class LogFormat { kCsv, kAdif };

struct LogGeneratorOptions {
  int64_t rows = 100000;  // contacts (data rows), the header not counted
  uint64_t seed = 1;
  int64_t emptyRows = 0;  // extra rows with no text, spread through the log
  LogFormat format = LogFormat::kCsv;
};

// What a generated log holds, counted while writing it.
struct GeneratedLogStats {
  int64_t rows = 0;                // contacts written
  int64_t emptyRows = 0;           // extra empty rows written
  int64_t stations = 0;            // distinct CALL texts (case-sensitive)
  int64_t stationsWorkedOnce = 0;  // CALL texts occurring in exactly one row
  int64_t maxQsoCount = 0;         // rows of the most worked CALL text
  int64_t managerRows = 0;         // rows whose QSL_VIA names a manager
  int64_t directRows = 0;          // rows whose QSL_VIA is a DIRECT variant
  int64_t bytes = 0;               // file size
};

// The column layout of the generated logs.
inline constexpr int kGeneratedColumns = 53;
inline constexpr int kCallColumn = 4;
inline constexpr int kDxccColumn = 30;
inline constexpr int kQslViaColumn = 41;

// Writes the log to path (through a temporary file in the same folder that is
// renamed at the end, so an interrupted run leaves no partial log behind).
// Throws std::runtime_error when the file cannot be written.
GeneratedLogStats GenerateLog(const LogGeneratorOptions& options, const std::string& path);

// Path of the log for these options inside dir (.csv or .adi), generated
// first when no such file exists yet. Used by the benchmarks to share one file between runs.
std::string EnsureGeneratedLog(const LogGeneratorOptions& options, const std::string& dir);

// The DXCC numbers the generator draws from, three-digit texts.
const char* const* GeneratorDxccCodes(int* count);

}  // namespace kartex::bench
