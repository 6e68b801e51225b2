#!/usr/bin/env bash
# Makes the Debian package build/package/kartex_VERSION_ARCH.deb: builds
# KARTEX with Debian's build flags in build/package, packs its /usr install
# with CPack (Depends worked out by dpkg-shlibdeps), then checks the package
# with lintian, desktop-file-validate and appstreamcli and runs its
# kartex-cli on the sample log. Installs what is missing with apt-get first.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022

build=build/package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tools=(dpkg-dev file librsvg2-bin lintian desktop-file-utils appstream xvfb xauth xdotool openbox)

install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

build_package() {
  # Debian's hardening and optimisation flags; CMake takes the preprocessor's
  # (_FORTIFY_SOURCE) with the compiler's.
  eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  cmake -S . -B "$build" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DKARTEX_BUILD_APP=ON -DKARTEX_BUILD_TESTS=OFF -DKARTEX_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS"
  cmake --build "$build" -j "$(nproc)"
  rm -f "$build"/kartex_*.deb
  (cd "$build" && cpack -G DEB)
}

# The version of the change log's and the metainfo's latest entries must be
# the package's.
check_versions() {
  local version=$1 logged released
  logged=$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)
  released=$(grep -o -m1 '<release version="[^"]*"' packaging/linux/*.metainfo.xml.in | cut -d'"' -f2)
  if [ "$logged" != "$version" ] || [ "$released" != "$version" ]; then
    echo "Version $version: packaging/linux/changelog says $logged, the metainfo $released" >&2
    exit 1
  fi
}

check_contents() {
  local root=$1 path missing=0
  for path in usr/bin/kartex usr/bin/kartex-cli \
      usr/share/kartex/Help_CSV.chm \
      usr/share/kartex/demo/LOG_DEMO.csv usr/share/kartex/demo/CTY.DAT usr/share/kartex/demo/ADIF_DXC.TXT \
      usr/share/kartex/CTY.DAT usr/share/kartex/CTY.DAT.copyright.txt usr/share/kartex/ADIF_DXC.TXT \
      usr/share/applications/io.github.kartex.kartex.desktop \
      usr/share/metainfo/io.github.kartex.kartex.metainfo.xml \
      usr/share/icons/hicolor/scalable/apps/kartex.svg \
      usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/kartex.png \
      usr/share/man/man1/kartex-cli.1.gz usr/share/man/man1/kartex.1.gz \
      usr/share/doc/kartex/copyright usr/share/doc/kartex/changelog.gz \
      usr/share/lintian/overrides/kartex; do
    [ -e "$root/$path" ] || { echo "Missing from the package: /$path" >&2; missing=1; }
  done
  return $missing
}

check_package() {
  local deb=$1 root=$work/root
  dpkg-deb -x "$deb" "$root"
  check_contents "$root"
  desktop-file-validate "$root"/usr/share/applications/*.desktop
  appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
  (cd "$root/usr/share/kartex/demo" && "$root/usr/bin/kartex-cli" open LOG_DEMO.csv info >/dev/null)
  lintian --display-info "$deb"
}

# Installs the package and starts the window from a home folder, as the menu
# entry does; "Pomoc -> Otwórz plik pomocy" must hand the installed help to
# the desktop's opener (a stand-in here that notes what it was given).
check_installed_help() {
  local deb=$1 home=$work/home bin=$work/bin opened=$work/opened
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "$PWD/$deb" >/dev/null
  mkdir -p "$home" "$bin"
  printf '#!/bin/sh\nprintf %%s "$1" > "%s"\n' "$opened" > "$bin/xdg-open"
  chmod +x "$bin/xdg-open"
  (cd "$home" && HOME=$home PATH=$bin:$PATH xvfb-run -a sh -c '
      openbox & sleep 1
      kartex & pid=$!
      xdotool search --sync --name "KARTEX" >/dev/null && sleep 1
      # Alt+P opens "Plik" (it shares its letter with "Pomoc"); two steps
      # right reach "Pomoc", whose first item opens the help.
      for key in alt+p Right Right Return; do xdotool key $key; sleep 0.4; done
      sleep 2
      kill $pid') || true
  if [ "$(cat "$opened" 2>/dev/null)" != /usr/share/kartex/Help_CSV.chm ]; then
    echo "The installed window did not open /usr/share/kartex/Help_CSV.chm from a home folder" >&2
    exit 1
  fi
  echo "The installed window opens /usr/share/kartex/Help_CSV.chm from a home folder"
}

scripts/install-deps.sh
install_missing "${tools[@]}"
build_package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/kartex_${version}_$(dpkg --print-architecture).deb
check_versions "$version"
check_package "$deb"
check_installed_help "$deb"
echo "Package: $deb, $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Package Version Installed-Size Depends Recommends
