#!/usr/bin/env bash
# Makes the Windows download on Debian 12, in build/windows-release/:
#   KARTEX-<version>-win64.zip        one folder KARTEX/: KARTEX.exe,
#                                     kartex-cli.exe, Help_CSV.chm, LICENSE.txt,
#                                     CZYTAJ.txt, the real CTY.DAT and ADIF_DXC.TXT
#                                     beside the program, demo/ with the samples,
#                                     templates/ with gLabels' label sheets
#   KARTEX-<version>-win64-setup.exe  the same as an installer (NSIS)
# Installs what is missing first and builds the static Qt for Windows when
# its cache is missing (scripts/build-qt-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/install-deps.sh windows
scripts/build-qt-windows.sh

cmake --preset windows-release
cmake --build --preset windows-release -j "$(nproc)"

out=$repo/build/windows-release
build=$out/build
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
qt_debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
homepage=$(sed -n 's/^set(KARTEX_HOMEPAGE_URL "\(.*\)")$/\1/p' packaging/linux/CMakeLists.txt)
name=KARTEX-$version-win64
stage=$out/stage/KARTEX
rm -rf "$out/stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage/demo"

# Text for Windows: CR LF line ends; the Polish one in UTF-8 with a byte
# order mark, which every Notepad reads right.
windows_text() { sed 's/\r$//; s/$/\r/'; }
fill() {
  sed -e "s|@VERSION@|$version|g" -e "s|@QT_VERSION@|${qt_debian_version%%+*}|g" \
    -e "s|@QT_DEBIAN_VERSION@|$qt_debian_version|g" -e "s|@HOMEPAGE@|$homepage|g" "$1"
}

strip=x86_64-w64-mingw32-strip
$strip -o "$stage/KARTEX.exe" "$build/app/KARTEX.exe"
$strip -o "$stage/kartex-cli.exe" "$build/cli/kartex-cli.exe"
cp "$build/app/Help_CSV.chm" "$stage/"
cp demo/LOG_DEMO.csv demo/CTY.DAT demo/ADIF_DXC.TXT "$stage/demo/"
# Started by a double click, KARTEX works in its own folder: the real
# reference files lie there (AD1C's CTY.DAT of October 2025 with its notice,
# the ADIF list of the DXCC entities), where the call-sign commands also
# look when the working folder holds none.
cp reference/cty-tyler4096-bigcty-20251011.dat "$stage/CTY.DAT"
cp reference/ADIF_DXC.TXT "$stage/ADIF_DXC.TXT"
windows_text <reference/cty.dat.copyright-ad1c.txt >"$stage/CTY.DAT.copyright.txt"
# The label sheets, Debian's glabels-data (gLabels' template database, MIT),
# in templates\ beside the programs, where they look for them.
templates=/usr/share/libglabels-3.0/templates
mkdir -p "$stage/templates"
cp "$templates"/paper-sizes.xml "$templates"/*-templates.xml "$stage/templates/"
{ printf '\357\273\277'; fill packaging/windows/CZYTAJ.txt; } | windows_text >"$stage/CZYTAJ.txt"
{
  fill packaging/windows/LICENSE.txt.in
  cat packaging/windows/qt-third-party-notices.txt
  printf '%s\n\n' "5. GNU General Public License, version 3 (KARTEX)" "--------------------------------------------------"
  cat LICENSE
  printf '\n%s\n\n' "6. GNU Lesser General Public License, version 3 (Qt)" "----------------------------------------------------"
  cat /usr/share/common-licenses/LGPL-3
  printf '\n%s\n\n' "7. gLabels template database (templates\\)" "------------------------------------------"
  cat packaging/windows/glabels-templates-license.txt
  printf '\n%s\n\n' "8. DejaVu fonts (the font of the labels, in KARTEX.exe and kartex-cli.exe)" "--------------------------------------------------------------------------"
  awk 'BEGIN { RS = "" } NR <= 2 { print; print "" }' /usr/share/doc/fonts-dejavu-core/copyright
} | windows_text >"$stage/LICENSE.txt"

# Only the system's DLLs (and its print spooler, winspool.drv, which the
# labels' printing uses): nothing else may be needed beside the programs.
for program in "$stage/KARTEX.exe" "$stage/kartex-cli.exe"; do
  if x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^((kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|imm32|winmm|ws2_32|version|netapi32|userenv|uxtheme|dwmapi|shlwapi|shcore|wtsapi32|authz|d3d9|d3d11|dxgi|dwrite|msvcrt|api-ms-win-.*)\.dll|winspool\.drv)$'; then
    echo "build-windows-release: $(basename "$program") needs the DLLs above" >&2
    exit 1
  fi
done

# Stable dates and order, so that the same sources give the same ZIP.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$out/stage" -exec touch -d "@$stamp" {} +
(cd "$out/stage" && find KARTEX -print | LC_ALL=C sort | zip -X -9 -q "$out/$name.zip" -@)

icon=()
[ -f "$build/app/kartex.ico" ] && icon=(-DICON="$build/app/kartex.ico")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/$name-setup.exe" "${icon[@]}" \
  packaging/windows/kartex.nsi

ls -l "$out/$name.zip" "$out/$name-setup.exe"
