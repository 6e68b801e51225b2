#!/usr/bin/env bash
# Runs a Windows window program under Wine (wine-run.sh: Polish regional
# settings) on a screen of its own: a virtual X display from xvfb-run, with
# openbox as the window manager, so that windows are placed and get the
# focus as on a desktop.
#
# Wine's desktop process serves every program of a Wine prefix and draws on
# the display of the program that started it. So window programs get a
# prefix of their own, and each run ends its Wine session, desktop included,
# with its display: the next run starts afresh on its own. One run at a time
# (the widget tests are RUN_SERIAL).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${KARTEX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kartex/wine}
export WINEPREFIX=$cache/gui-prefix

if [ -z "${KARTEX_GUI_SCREEN:-}" ]; then
  export KARTEX_GUI_SCREEN=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$here/wine-gui-run.sh" "$@"
fi

# The desktop of a Windows system, once per prefix: its fonts (Tahoma, which
# the dialogs' MS Shell Dlg names, from Debian's fonts-wine; Wine does not
# load them by itself) and text drawn with ClearType (without smoothing,
# some small sizes of Tahoma lose strokes).
if [ ! -e "$WINEPREFIX/kartex-desktop.done" ]; then
  desktop='HKCU\Control Panel\Desktop'
  "$here/wine-run.sh" reg add "$desktop" /v FontSmoothing /t REG_SZ /d 2 /f >/dev/null
  "$here/wine-run.sh" reg add "$desktop" /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null
  "$here/wine-run.sh" reg add "$desktop" /v FontSmoothingGamma /t REG_DWORD /d 1400 /f >/dev/null
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  touch "$WINEPREFIX/kartex-desktop.done"
fi

# A session left by a run that was cut short goes first.
[ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
wm=""
if command -v openbox >/dev/null; then
  openbox </dev/null >/dev/null 2>&1 &
  wm=$!
fi
status=0
"$here/wine-run.sh" "$@" || status=$?
wineserver -k 2>/dev/null || true
[ -n "$wm" ] && kill "$wm" 2>/dev/null
exit "$status"
