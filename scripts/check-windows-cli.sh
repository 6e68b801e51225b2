#!/usr/bin/env bash
# Checks kartex-cli.exe under Wine against the Linux kartex-cli: the four runs
# of the run.sh demonstration must write the same files byte for byte and
# print the same JSON and messages; without regional options the Windows
# program takes the decimal comma from Polish Windows settings, and English
# ones with an English locale.
# Usage: scripts/check-windows-cli.sh [LINUX_BUILD] [WINDOWS_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_cli=${1:-build/default}/cli/kartex-cli
windows_cli=${2:-build/windows}/cli/kartex-cli.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {
  local side=$1
  shift
  if [ "$side" = linux ]; then
    (cd "$work/linux" && LC_ALL=C.UTF-8 "$root/$linux_cli" "$@")
  else
    (cd "$work/windows" && "$root/scripts/wine-run.sh" "$root/$windows_cli" "$@")
  fi
}

for side in linux windows; do
  mkdir -p "$work/$side"
  cp demo/LOG_DEMO.csv demo/CTY.DAT demo/ADIF_DXC.TXT "$work/$side/"
  run $side open LOG_DEMO.csv info >"$work/$side/info1.json" 2>"$work/$side/messages1.txt"
  run $side open LOG_DEMO.csv qso 2 click 4 click +0 save-csv QSO_2.csv save-qsl QSL_VIA.TXT info \
    >"$work/$side/info2.json" 2>"$work/$side/messages2.txt"
  run $side open LOG_DEMO.csv save-country COUNTRY.CSV adif >/dev/null 2>"$work/$side/messages3.txt"
  run $side open LOG_DEMO.csv save-country COUNTRY_CTY.CSV cty >/dev/null 2>"$work/$side/messages4.txt"
done
for file in QSO_2.csv QSL_VIA.TXT COUNTRY.CSV COUNTRY_CTY.CSV info1.json info2.json \
            messages1.txt messages2.txt messages3.txt messages4.txt; do
  cmp "$work/linux/$file" "$work/windows/$file"
done
echo "kartex-cli.exe: the demonstration's files, JSON and messages are those of Linux"

# The FREQ column of the first data row after a sort, and after a filter.
printf 'CALL,DXCC,FREQ\r\nA,1,10\r\nB,1,"1,5"\r\nC,1,9\r\nD,1,"2,25"\r\n' >"$work/windows/decimals.csv"
freqs() { cut -d, -f3- "$1" | sed -n '2,$p' | grep -o '^"[^"]*"' | tr -d '"' | paste -sd' '; }
check() {
  local lang=$1 sorted=$2 filtered=$3
  (cd "$work/windows" && KARTEX_WINE_LANG=$lang "$root/scripts/wine-run.sh" "$root/$windows_cli" \
    open decimals.csv click 2 save-csv sorted.csv where 2 '>2' save-csv filtered.csv)
  [ "$(freqs "$work/windows/sorted.csv")" = "$sorted" ] || { echo "$lang: sorted as $(freqs "$work/windows/sorted.csv")"; exit 1; }
  [ "$(freqs "$work/windows/filtered.csv")" = "$filtered" ] || { echo "$lang: >2 kept $(freqs "$work/windows/filtered.csv")"; exit 1; }
}
check pl_PL.UTF-8 "1,5 2,25 9 10" "2,25 9 10"
check en_US.UTF-8 "2,25 1,5 9 10" "2,25 1,5 9 10"
echo "kartex-cli.exe: regional settings from Windows (Polish decimal comma, English digit grouping)"
