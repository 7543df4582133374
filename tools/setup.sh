#!/usr/bin/env bash
# Installs everything both builds and their tests need, from Debian's packages.
# Safe to run again: packages already present are kept, the Wine prefix is made once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 python3-pefile
  libtinyobjloader-dev libstb-dev libfast-float-dev libedit-dev
  imagemagick unzip
  clang-tidy cppcheck
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  missing=("${packages[@]}")
else
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

source "$(dirname "$0")/wine-env.sh"

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
  1) echo "setup: no 32-bit Wine prefix: $reason" ;;
  *) echo "setup: $reason" >&2; exit 1 ;;
esac
echo "setup: ready"
