#!/usr/bin/env bash
# Builds KARTEX and runs every test: the release build with the window and its
# widget tests, then the core and kartex-cli tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer (with the CSV reader's
# scalar scans), then the Windows core, kartex-cli.exe and their tests,
# cross-built and run under Wine, then the benchmarks (built, not run), and
# last the libFuzzer targets for 30 seconds each.
#
#   ./test.sh          everything, as CI runs it
#   ./test.sh quick    the release build and its tests only: the loop of
#                      editing, building and testing
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-all}
case "$mode" in
  all | quick) ;;
  *) echo "usage: ./test.sh [quick]" >&2; exit 2 ;;
esac
scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"
[ "$mode" = quick ] && exit 0

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

cmake --preset windows
cmake --build --preset windows -j "$jobs"
scripts/ctest-wine.sh windows -j "$jobs"
scripts/check-windows-cli.sh build/default build/windows

# The benchmarks are only built, so that they keep compiling.
cmake --preset bench
cmake --build --preset bench -j "$jobs"

scripts/fuzz.sh 30
