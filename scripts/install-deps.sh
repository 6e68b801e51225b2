#!/usr/bin/env bash
# Installs the Debian 12 packages KARTEX needs to build and test, when any of
# them is missing. With "run", also what the window needs on a desktop: the
# desktop's opener and a viewer for the help file Help_CSV.chm. With
# "windows", also what the Windows programs are built, tested and packaged
# with: the mingw-w64 compilers, Wine (with the fonts a Windows system has),
# a window manager for the virtual display, ImageMagick for the icon, NSIS
# and zip.
# Usage: scripts/install-deps.sh [run|windows]
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl1-mesa-dev qt6-translations-l10n
  fp-utils
  xvfb xauth
  sqlite3 hyperfine time
)
if [ "${1:-}" = run ]; then
  packages+=(xdg-utils xchm)
fi
if [ "${1:-}" = windows ]; then
  packages+=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix googletest
    wine wine64 fonts-wine openbox x11-utils
    qt6-base-dev-tools imagemagick nsis zip unzip
  )
fi

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
