#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, headless, in the
# project's Wine prefix (made by tools/setup.sh).
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-tollgram}"
export WINEARCH=win32
export DISPLAY=
exec wine "$@"
