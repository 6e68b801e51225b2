#!/bin/bash
# Watches the real window through long commands on a virtual X display:
# opens LOG through the open dialog, chooses "1", then "Zapisz plik CSV"
# through the save dialog, as an operator would with the mouse and keyboard,
# while screenshots of the window are taken one after another and the cursor
# is recorded. Shows whether the window paints (the dialog's place, the
# progress bar) and shows the hourglass while each command works.
#
#   bench/watch_window.sh KARTEX LOG OUT_DIR
#
# Writes to OUT_DIR: events.log (when each command was given), cursor.log
# (each change of the cursor; the animated hourglass changes every few
# milliseconds), window_TIME.png (the window; TIME in seconds since the
# epoch, like the logs), out.csv (the export). Needs xvfb-run, xdotool,
# ImageMagick and a C compiler with the X11 and Xfixes headers.
set -eu
if [ "${1:-}" != --inside ]; then
  [ $# -eq 3 ] || { echo "usage: $0 KARTEX LOG OUT_DIR" >&2; exit 2; }
  mkdir -p "$3"
  cc -O2 -o "$3/cursor_probe" "$(dirname "$0")/cursor_probe.c" -lX11 -lXfixes
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$(realpath "$1")" "$(realpath "$2")" "$(realpath "$3")"
fi
APP=$2 LOG=$3 OUT=$4
rm -f "$OUT"/*.png "$OUT"/*.log "$OUT/out.csv"
cd "$OUT"
"$APP" 2>/dev/null &
APP_PID=$!
WID=
for _ in $(seq 50); do
  WID=$(xdotool search --name "KARTEX v1.0" 2>/dev/null | head -1) && [ -n "$WID" ] && break
  sleep 0.2
done
sleep 1
eval "$(xdotool getwindowgeometry --shell "$WID")"  # X, Y, WIDTH, HEIGHT
MENU=$((HEIGHT - 527))                               # the client area lies below the menu bar
"$OUT/cursor_probe" 24 > "$OUT/cursor.log" &
PROBE=$!
( while kill -0 $PROBE 2>/dev/null; do
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$OUT/window_$(date +%s.%N).png" 2>/dev/null || true
  done ) &
SHOTS=$!
log() { echo "$1 $(date +%s.%N)" >> "$OUT/events.log"; }

xdotool mousemove $((X + 60)) $((Y + MENU + 32)) click 1    # Load_CSV
sleep 1.5
xdotool type --delay 5 "$LOG"
log open
xdotool key Return
sleep 6
log choose1
xdotool mousemove $((X + 26)) $((Y + MENU + 323)) click 1   # RG1, item "1"
sleep 4
xdotool mousemove $((X + 180)) $((Y + MENU + 32)) click 1   # Save_CSV
sleep 1.5
xdotool type --delay 5 "$OUT/out.csv"
log save
xdotool key Return
sleep 6
log end
wait $PROBE
kill $SHOTS 2>/dev/null || true
wait $SHOTS 2>/dev/null || true
kill $APP_PID
wait $APP_PID 2>/dev/null || true
