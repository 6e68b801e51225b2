#!/usr/bin/env bash
# Writes qt-third-party-notices.txt beside this script: the notices of the
# third-party code that Qt's qtbase builds into KARTEX.exe (Core, Gui,
# Widgets, the windows platform plugin and styles; no image format plugins),
# taken from a qtbase source folder, such as the one scripts/build-qt-windows.sh
# unpacks into ~/.cache/kartex/qt6-windows-build/source/. Run it again when
# the Qt version changes.
# Usage: packaging/windows/collect-qt-notices.sh QTBASE_SOURCE_FOLDER
set -euo pipefail
source=${1:?usage: $0 QTBASE_SOURCE_FOLDER}
out=$(cd "$(dirname "$0")" && pwd)/qt-third-party-notices.txt

# name | licence | files (relative to the source folder, ";" between)
notices=(
  "Unicode Character Database and Common Locale Data Repository (Qt Core)|Unicode-DFS-2016|src/corelib/text/UNICODE_LICENSE.txt"
  "SipHash (Qt Core, QHash)|CC0-1.0|src/corelib/tools/LICENSE.siphash"
  "Anti-aliasing rasterizer from FreeType 2 (Qt Gui); FreeType 2 (fonts)|FTL|src/3rdparty/freetype/docs/FTL.TXT"
  "FreeType 2 - zlib|Zlib|src/3rdparty/freetype/ZLIB-LICENSE.txt"
  "FreeType 2 - BDF support|MIT|src/3rdparty/freetype/BDF-LICENSE.txt"
  "FreeType 2 - PCF support|MIT AND MIT-open-group|src/3rdparty/freetype/PCF-LICENSE.txt"
  "Smooth Scaling Algorithm (Qt Gui, QImage)|BSD-2-Clause AND Imlib2|src/gui/painting/QIMAGETRANSFORM_LICENSE.txt"
  "X Server helper (Qt Gui, QRegion)|X11 AND HPND|src/gui/painting/XCONSORTIUM_LICENSE.txt"
  "Adobe Glyph List For New Fonts (Qt Gui, PDF writer)|BSD-3-Clause|src/gui/text/AGLFN_LICENSE.txt"
  "OpenGL Headers (Qt Gui)|MIT|src/gui/opengl/KHRONOS_LICENSE.txt"
  "HarfBuzz-NG (Qt Gui)|MIT|src/3rdparty/harfbuzz-ng/COPYING"
  "LibPNG (Qt Gui)|Libpng AND libpng-2.0|src/3rdparty/libpng/LICENSE"
  "Data Compression Library zlib (Qt Core)|Zlib|src/3rdparty/zlib/LICENSE"
  "PCRE2 (Qt Core, QRegularExpression)|BSD-3-Clause|src/3rdparty/pcre2/LICENCE"
  "PCRE2 - Stack-less Just-In-Time Compiler|BSD-2-Clause|src/3rdparty/pcre2/LICENCE-SLJIT"
  "Efficient Binary-Decimal and Decimal-Binary Conversion Routines for IEEE Doubles (Qt Core)|BSD-3-Clause|src/3rdparty/double-conversion/LICENSE"
  "MD4C (Qt Gui, QTextDocument)|MIT|src/3rdparty/md4c/LICENSE.md"
  "TinyCBOR (Qt Core)|MIT|src/3rdparty/tinycbor/LICENSE"
  "Easing Equations by Robert Penner (Qt Core)|BSD-3-Clause|src/3rdparty/easing/LICENSE"
  "sRGB color profile icc file (Qt Gui)|ICC License|src/3rdparty/icc/LICENSE.txt"
  "Secure Hash Algorithms SHA-384 and SHA-512 (Qt Core)|BSD-3-Clause|src/3rdparty/rfc6234/LICENSE"
  "Secure Hash Algorithm SHA-3 - brg_endian (Qt Core)|BSD-2-Clause|src/3rdparty/sha3/BRG_ENDIAN_LICENSE"
  "Secure Hash Algorithm SHA-3 - Keccak (Qt Core)|CC0-1.0|src/3rdparty/sha3/CC0_LICENSE"
  "BLAKE2 reference implementation (Qt Core)|CC0-1.0 OR Apache-2.0|src/3rdparty/blake2/COPYING"
  "MD4, MD5 and SHA-1 (Qt Core)|Public Domain|"
)

{
  for notice in "${notices[@]}"; do
    IFS='|' read -r name licence files <<<"$notice"
    printf '%s\n' "--- $name ($licence) ---" ""
    IFS=';' read -r -a paths <<<"$files"
    for path in "${paths[@]}"; do
      tr -d '\r' <"$source/$path"
      printf '\n'
    done
    [ -n "$files" ] || printf '%s\n\n' "Placed in the public domain by their authors."
  done
} >"$out"
echo "wrote $out"
