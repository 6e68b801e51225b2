#!/usr/bin/env bash
# Builds KARTEX and starts it in the demo working directory (sample log,
# CTY.DAT, ADIF_DXC.TXT and the help file, which the help menu opens in
# xchm). Without a display it runs a kartex-cli demonstration on the same
# sample instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run

# A build of its own (build/run, without the tests), so that it never
# changes the settings of the build that ./test.sh uses.
cmake --preset run
cmake --build --preset run -j "$(nproc)"
build=$PWD/build/run
[ -f "$build/app/Help_CSV.chm" ] && cp "$build/app/Help_CSV.chm" demo/

cd demo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/app/kartex" ]; then
  exec "$build/app/kartex"
fi

echo "No display found: running the kartex-cli demonstration on demo/LOG_DEMO.csv instead."
mkdir -p out
cli=$build/cli/kartex-cli
set -x
"$cli" open LOG_DEMO.csv info
"$cli" open LOG_DEMO.csv qso 2 click 4 click +0 save-csv out/QSO_2.csv save-qsl out/QSL_VIA.TXT info
"$cli" open LOG_DEMO.csv save-country out/COUNTRY.CSV adif
"$cli" open LOG_DEMO.csv save-country out/COUNTRY_CTY.CSV cty
set +x
echo "Files written to demo/out/:"
ls -l out
