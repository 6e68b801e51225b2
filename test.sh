#!/usr/bin/env bash
# Builds KARTEX and runs every test: the release build with the window and its
# widget tests, then the core and kartex-cli tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows core,
# kartex-cli.exe and their tests, cross-built and run under Wine, and last
# the libFuzzer targets for 30 seconds each.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

cmake --preset windows
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs"
scripts/check-windows-cli.sh build/default build/windows

scripts/fuzz.sh 30
