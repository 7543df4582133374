#!/usr/bin/env bash
# Installs everything both builds and their tests need, from Debian's packages.
# Safe to run again: packages already present are kept, the Wine prefix is made once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386
  libtinyobjloader-dev libstb-dev libfast-float-dev
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

# The Wine prefix is created once, headless; later runs find it ready.
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-tollgram}"
export WINEARCH=win32
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating the Wine prefix $WINEPREFIX"
  # No display: wineboot must not try to show its dialogs.
  DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
echo "setup: ready"
