#!/usr/bin/env bash
# Builds the static Qt 6 for Windows that KARTEX.exe links: qtbase (Core,
# Gui, Widgets, Print Support, Test, the windows platform plugin and the
# Windows styles, with the bundled zlib, PCRE2, HarfBuzz, FreeType, libpng,
# libjpeg and double-conversion; no OpenGL, network, SQL or D-Bus),
# cross-built with Debian's mingw-w64 compiler from Debian's own qt6-base
# source package, the version of Debian's host tools (moc, rcc, uic), which
# the cross build uses.
#
# Installs into $KARTEX_QT_WINDOWS, or else ~/.cache/kartex/qt6-windows.
# Takes the prebuilt copy from ../shared/cache/ (the folder beside the
# checkout) when it is there and its checksum is right.
#
# Settings (environment):
#   KARTEX_QT_WINDOWS        the install folder
#   KARTEX_QT_BUILD_DIR      where the source and the build go
#                            (default: ~/.cache/kartex/qt6-windows-build)
#   KARTEX_QT_PREBUILT       the prebuilt archive; "none" builds from source
#   KARTEX_QT_CONFIGURE_ONLY 1: fetch the source and configure, then stop
#   KARTEX_QT_JOBS           parallel compile jobs (default: nproc)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/kartex
prefix=${KARTEX_QT_WINDOWS:-$cache/qt6-windows}
work=${KARTEX_QT_BUILD_DIR:-$cache/qt6-windows-build}
configure_only=${KARTEX_QT_CONFIGURE_ONLY:-0}
jobs=${KARTEX_QT_JOBS:-$(nproc)}
stamp=$prefix/kartex-qt.stamp

say() { echo "build-qt-windows: $*"; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# The host tools and the Qt source must be of one version.
install_missing qt6-base-dev qt6-base-dev-tools
debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
qt_version=${debian_version%%+*}
qt_version=${qt_version%%-*}
prebuilt=${KARTEX_QT_PREBUILT:-$(dirname "$repo")/shared/cache/qt6-windows-$qt_version-static-mingw-print.tar.xz}
# What the installed Qt must have besides its version: an older install
# without Qt Print Support is replaced.
features="features printsupport"

if [ "$configure_only" != 1 ] && [ -f "$stamp" ] && grep -qx "version $qt_version" "$stamp" &&
  grep -qx "$features" "$stamp"; then
  say "Qt $qt_version for Windows is in $prefix already"
  exit 0
fi

# The compiler settings Qt is built with and that its qt.toolchain.cmake
# loads again for every program built against it. It lies in the install
# folder, so that the installed Qt names it by a relative path.
write_toolchain() {
  mkdir -p "$prefix"
  cat >"$prefix/mingw-w64.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

# The prebuilt copy: checked, unpacked beside the install folder, then put
# in its place.
install_prebuilt() {
  say "taking the prebuilt copy $prebuilt"
  (cd "$(dirname "$prebuilt")" && sha256sum --quiet -c "$(basename "$prebuilt").sha256") || {
    say "the checksum of $prebuilt is wrong; building from source"
    return 1
  }
  local unpack
  mkdir -p "$(dirname "$prefix")"
  unpack=$(mktemp -d "$prefix.unpack.XXXXXX")
  tar -xJf "$prebuilt" -C "$unpack"
  rm -rf "$prefix"
  mv "$unpack/qt6-windows" "$prefix"
  rmdir "$unpack"
  printf 'version %s\n%s\nfrom %s\n' "$qt_version" "$features" "$(basename "$prebuilt")" >"$stamp"
}

# apt-get source needs a deb-src entry for Debian's main archive.
ensure_deb_src() {
  if grep -rqsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local entry=/etc/apt/sources.list.d/kartex-deb-src.sources
  say "no deb-src entry in the APT sources: adding $entry (Debian's main archive, bookworm)"
  $sudo tee "$entry" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $sudo apt-get update
}

# Debian's qt6-base source, its patches applied, in $work/source.
fetch_source() {
  local unpacked
  unpacked=$(find "$work/source" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" 2>/dev/null | head -n 1)
  if [ -n "$unpacked" ] && [ -f "$work/source/.version" ] && [ "$(cat "$work/source/.version")" = "$debian_version" ]; then
    echo "$unpacked"
    return
  fi
  ensure_deb_src >&2
  rm -rf "$work/source"
  mkdir -p "$work/source"
  (cd "$work/source" && apt-get source "qt6-base=$debian_version") >&2
  echo "$debian_version" >"$work/source/.version"
  find "$work/source" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1
}

configure_qt() {
  local source=$1
  write_toolchain
  rm -rf "$work/build"
  mkdir -p "$work/build"
  # Debian's source leaves out the wintab header (tablet events off); with
  # OpenGL off, the windows plugin needs dynamic GL off too.
  cmake -G Ninja -S "$source" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF -DFEATURE_printsupport=ON \
    -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF
}

if [ "$configure_only" != 1 ] && [ "${KARTEX_QT_PREBUILT:-}" != none ] && [ -f "$prebuilt" ]; then
  install_prebuilt && exit 0
fi

install_missing g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  cmake ninja-build perl dpkg-dev xz-utils
source=$(fetch_source)
[ -n "$source" ] || { say "apt-get source gave no qt6-base-$qt_version folder"; exit 1; }
say "building Qt $qt_version from $source"
configure_qt "$source"
if [ "$configure_only" = 1 ]; then
  say "configured in $work/build (KARTEX_QT_CONFIGURE_ONLY=1: not built)"
  exit 0
fi
rm -f "$stamp"
cmake --build "$work/build" -j "$jobs"
cmake --install "$work/build"
# The licence texts of Qt and of the libraries it bundles, for the download.
mkdir -p "$prefix/licenses"
cp "$source"/LICENSES/* "$prefix/licenses/" 2>/dev/null || true
printf 'version %s\n%s\nfrom %s\n' "$qt_version" "$features" "qt6-base $debian_version" >"$stamp"
say "Qt $qt_version for Windows installed in $prefix"
