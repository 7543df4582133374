#!/usr/bin/env bash
# Installs everything both builds and their tests need, from Debian's
# packages (tools/setup-packages.sh), and makes the Wine prefixes. Safe to
# run again: packages already present are kept, each prefix is made once.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-packages.sh
source tools/wine-env.sh

# make_prefix 32|64: makes the project's Wine prefix for programs of that
# width once, headless; later runs find it ready. Stops the set-up when it
# cannot be made, since every Windows test would then fail for that reason.
make_prefix() {
  (
    tollgram_wine_env "$1"
    [ -f "$WINEPREFIX/system.reg" ] && exit 0
    echo "setup: creating the $1-bit Wine prefix $WINEPREFIX"
    log="$(mktemp)"
    # No display: wineboot must not try to show its dialogs.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$WINELOADER" wineboot --init >"$log" 2>&1 || true
    /usr/lib/wine/wineserver -w || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "setup: could not create the $1-bit Wine prefix $WINEPREFIX; wineboot said:" >&2
      tail -n 20 "$log" >&2
      rm -f "$log"
      exit 1
    fi
    rm -f "$log"
  )
}

# The x64 build's tests run on every machine; the 32-bit build's where the
# machine runs 32-bit programs (tools/wine-env.sh decides).
make_prefix 64
status=0
reason="$(tollgram_win32_tests)" || status=$?
case "$status" in
  0) make_prefix 32 ;;
  1) echo "setup: the 32-bit build's programs will not be run (its DLL is checked from its file, the x64 build's tests and demo run under 64-bit Wine): $reason" ;;
  *) echo "setup: $reason" >&2; exit 1 ;;
esac
echo "setup: ready"
