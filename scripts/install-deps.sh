#!/usr/bin/env bash
# Installs the Debian 12 packages KARTEX needs to build and test, when any of
# them is missing. With "run", also what the window needs on a desktop: the
# desktop's opener and a viewer for the help file Help_CSV.chm. With
# "windows", also what the Windows window is built, tested and packaged with:
# Wine's fonts, a window manager for the virtual display, Qt's host tools,
# ImageMagick for the icon (it draws SVG through rsvg-convert), NSIS and zip.
# With "fuzz", only what the fuzz targets need: clang 14 and its libFuzzer
# and sanitizer runtimes.
# Usage: scripts/install-deps.sh [run|windows|fuzz]
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl1-mesa-dev qt6-translations-l10n
  fp-utils
  # QSL labels: the label sheets (gLabels' template database), the font
  # built into the program, and pdftotext/pdftoppm for the PDF tests.
  glabels-data fonts-dejavu-core poppler-utils
  xvfb xauth
  sqlite3 hyperfine time
  # The Windows programs, cross-built and tested under Wine with Polish
  # regional settings (localedef builds the locales Wine reads).
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix googletest wine wine64 locales
)
case "${1:-}" in
  run) packages+=(xdg-utils xchm) ;;
  windows) packages+=(fonts-wine openbox x11-utils qt6-base-dev-tools imagemagick librsvg2-bin nsis zip unzip) ;;
  fuzz) packages=(cmake make g++ clang-14 libclang-rt-14-dev) ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
