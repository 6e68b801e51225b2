#!/usr/bin/env bash
# Runs a Windows window program under Wine (wine-run.sh: Polish regional
# settings) on a screen of its own: a virtual X display from xvfb-run when
# none is given, with openbox as the window manager, so that windows are
# placed and get the focus as on a desktop.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KARTEX_GUI_SCREEN:-}" ]; then
  export KARTEX_GUI_SCREEN=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$here/wine-gui-run.sh" "$@"
fi

wm=""
if command -v openbox >/dev/null; then
  openbox </dev/null >/dev/null 2>&1 &
  wm=$!
fi
status=0
"$here/wine-run.sh" "$@" || status=$?
[ -n "$wm" ] && kill "$wm" 2>/dev/null
exit "$status"
