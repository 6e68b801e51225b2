#!/usr/bin/env bash
# Times the start of KARTEX.exe under Wine: from the program's start until
# its main window is mapped on the virtual display (bench/map_probe.c, told
# by the X server; needs a C compiler and the X11 headers).
# Cold runs start with no Wine session, so Wine's own start (about 1.1 s
# here even for "cmd /c echo") is included; warm runs find the session of
# the run before still up, as a desktop that has run a Windows program
# has. The median of the runs is printed, and every run's time.
#
#   bench/wine_start.sh [cold|warm] [KARTEX.exe] [RUNS]
#
# Default: cold, build/windows-app/app/KARTEX.exe, 5 runs, started in demo/.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-cold}
exe=$(realpath "${2:-$repo/build/windows-app/app/KARTEX.exe}")
runs=${3:-5}
if [ -z "${KARTEX_GUI_SCREEN:-}" ]; then
  export KARTEX_GUI_SCREEN=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$mode" "$exe" "$runs"
fi
probe_dir=$(mktemp -d)
probe=$probe_dir/map_probe
cc -O2 -o "$probe" "$repo/bench/map_probe.c" -lX11
export WINEPREFIX=${KARTEX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kartex/wine}/gui-prefix
openbox </dev/null >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$probe_dir"' EXIT
cd "$repo/demo"
times=()
if [ "$mode" = warm ]; then "$repo/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1; fi
for run in $(seq "$runs"); do
  if [ "$mode" = cold ]; then wineserver -k 2>/dev/null || true; fi
  sleep 0.5
  "$probe" "KARTEX v" 60 >"$probe.out" &
  watcher=$!
  # "ready": from then on the probe is told of every window mapped.
  until [ -s "$probe.out" ]; do sleep 0.01; done
  start=$(date +%s.%N)
  "$repo/scripts/wine-run.sh" "$exe" >/dev/null 2>&1 &
  program=$!
  wait "$watcher" || { echo "no window within 60 s" >&2; exit 1; }
  end=$(tail -n 1 "$probe.out")
  times+=("$(echo "$end - $start" | bc)")
  if [ "$mode" = cold ]; then
    wineserver -k 2>/dev/null || true
  else
    pkill -f "^$exe" 2>/dev/null || true
  fi
  wait "$program" 2>/dev/null || true
done
printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR]=$1} END {printf "runs:"; for (i=1;i<=NR;i++) printf " %.2f", t[i]; printf "\nmedian: %.2f s\n", t[int((NR+1)/2)]}'
