#!/usr/bin/env bash
# Makes docs/screenshot.png: the window with the demonstration log loaded, the
# stations worked twice chosen in "Liczba łączności z tą samą stacją", and the
# table sorted by BAND, then (Shift) by QSO_DATE. The real widgets draw it on
# Qt's offscreen platform, so no display is needed and the picture is the
# same on every run.
# Usage: app/take_screenshot.sh [BUILD_DIR]   (default: build/default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
cmake --build "$build" --target kartex_screenshot
mkdir -p "$root/docs"
cd "$root/demo"
QT_QPA_PLATFORM=offscreen "$build/app/kartex_screenshot" LOG_DEMO.csv "$root/docs/screenshot.png" 1 2 0
echo "Written: docs/screenshot.png"
