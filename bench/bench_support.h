#pragma once
// Helpers shared by the benchmarks: where the generated logs live, which
// sizes to run, and the memory figures reported beside the times.

#include <cstdint>
#include <string>
#include <vector>

namespace kartex::bench {

// Folder of the generated logs: $KARTEX_BENCH_DIR, else /tmp/kartex-bench.
std::string BenchDir();

// Row counts to measure: 100,000 always; 1,000,000 as well when
// $KARTEX_BENCH_1M is set to a non-empty value other than 0.
std::vector<int64_t> BenchRowCounts();

// The generated log of that many contacts (seed 1), made on first use; as
// Logger32's CSV export or, with adif, the same contacts as an ADIF log.
std::string BenchLog(int64_t rows, bool adif = false);

// Resident memory of the process now. Call ReleaseFreeMemory first when the
// difference around a load should show what the loaded data holds: the store
// takes memory both from malloc and straight from the system (mmap), so the
// resident size is the one figure that sees all of it.
int64_t CurrentRssBytes();

// Hands memory that malloc holds free back to the system (malloc_trim).
void ReleaseFreeMemory();

// High-water mark of the process's resident memory.
int64_t PeakRssBytes();

int64_t FileSizeBytes(const std::string& path);

}  // namespace kartex::bench
