#!/usr/bin/env bash
# Runs the tests of a Windows preset under Wine. Now and then, on a loaded
# machine, Wine ends a program before it has printed anything; a test that
# fails is therefore run once more, and this script names every test that
# needed the second run. A test that fails twice fails the run.
# Usage: scripts/ctest-wine.sh PRESET [CTEST OPTIONS...]
set -uo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: scripts/ctest-wine.sh PRESET [CTEST OPTIONS...]}
shift
ctest --preset "$preset" "$@" && exit 0

failed_log=build/$preset/Testing/Temporary/LastTestsFailed.log
echo
echo "ctest-wine: these tests failed and run once more:"
sed 's/^[0-9]*:/  /' "$failed_log" 2>/dev/null || echo "  (no list of failed tests found)"
ctest --preset "$preset" --rerun-failed "$@"
