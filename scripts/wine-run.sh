#!/usr/bin/env bash
# Runs a Windows program under Wine as a Polish Windows user would: ANSI
# code page 1250, decimal comma, day.month.year dates. KARTEX_WINE_LANG
# may name another locale (en_US.UTF-8, say).
#
# Wine takes its regional settings from the locale named by LANG, which the
# C library must know; the locales are compiled once into a cache folder
# (LOCPATH), so nothing is changed on the system. The Wine prefix lives in a
# cache folder too, and a wine server is kept running between the calls of
# one test run.
set -euo pipefail

cache=${KARTEX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kartex/wine}
export LOCPATH=$cache/locales
export WINEPREFIX=${WINEPREFIX:-$cache/prefix}
export WINEDEBUG=-all
# Wine's locale, set for Wine's programs only: this shell's own C library
# reads no LOCPATH, and would warn on its standard error output of a locale
# the system lacks.
wine_locale=(env -u LC_ALL -u LC_NUMERIC -u LC_TIME -u LANGUAGE "LANG=${KARTEX_WINE_LANG:-pl_PL.UTF-8}")

mkdir -p "$LOCPATH" "$WINEPREFIX"
# Tests start in parallel: one of them sets things up, the others wait.
(
  flock 9
  for locale in pl_PL en_US; do
    if [ ! -e "$LOCPATH/$locale.UTF-8" ]; then
      localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" >/dev/null 2>&1 || true
    fi
  done
  # A server that stays between the calls, and Wine's own background
  # programs, started here with none of the caller's pipes or the lock: a
  # program that inherited them would keep a reader waiting for their end.
  "${wine_locale[@]}" wineserver -p 120 </dev/null >/dev/null 2>&1 9>&- || true
  "${wine_locale[@]}" wine wineboot </dev/null >/dev/null 2>&1 9>&- || true
) 9>"$cache/.setup.lock"
# Wine leaves every variable whose name begins with QT_ out of a Windows
# program's environment (the host's Qt settings would mislead a Windows
# Qt). KARTEX_WINE_QT_ENV names those the program is to have all the same,
# as NAME=VALUE pairs separated by blanks; cmd sets them, then starts it.
if [ -n "${KARTEX_WINE_QT_ENV:-}" ]; then
  sets=""
  for pair in $KARTEX_WINE_QT_ENV; do sets+="set $pair&& "; done
  exec "${wine_locale[@]}" wine cmd /c "$sets$*"
fi
exec "${wine_locale[@]}" wine "$@"
