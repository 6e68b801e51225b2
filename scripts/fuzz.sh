#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang 14, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each of them for SECONDS (default 30),
# starting from its seed corpus in fuzz/corpus/. Fails when a target finds a
# crash, a hang, a leak or a mismatch with the plain rules; the input that
# did it is kept in build/fuzz/findings/TARGET/. Everything it keeps stays
# under build/fuzz; the targets' scratch files go to /dev/shm where there is
# one, since the export's flush to the disk would otherwise set the pace.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi
scripts/install-deps.sh fuzz

# Each target with the longest input it is given.
targets=(csv_reader condition_matcher reference_files column_sort cty_resolver adif_reader)
declare -A max_len=([csv_reader]=8192 [condition_matcher]=1024 [reference_files]=8192
                    [column_sort]=8192 [cty_resolver]=8192 [adif_reader]=8192)

build=$PWD/build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# The inputs found by earlier runs are kept beside the build and fuzzed on;
# the seeds in the repository are only read.
scratch=$build/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/kartex-fuzz.XXXXXX)
  trap 'rm -rf "$scratch"' EXIT
fi
mkdir -p "$scratch" "$build/logs"
failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target/
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings"
  echo "== $target: ${seconds} s"
  status=0
  TMPDIR=$scratch "$build/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_len[$target]}" \
    -print_final_stats=1 -artifact_prefix="$findings" \
    "$corpus" "$PWD/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  # The last status line and the run count: "#N DONE cov: C ft: F ...".
  grep -E '^#[0-9]+[[:space:]]+(DONE|INITED)' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    echo "!! $target failed (status $status); the input is in $findings, the log in $log:"
    grep -E 'MISMATCH|ERROR: |SUMMARY: |runtime error|Test unit written' "$log" | head -n 20 || tail -n 30 "$log"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no findings in ${#targets[@]} targets, ${seconds} s each"
