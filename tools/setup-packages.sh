#!/usr/bin/env bash
# Installs the Debian packages that both builds and their tests need, taking
# what the package registry gives: the 64-bit packages are required, the
# 32-bit ones (the 32-bit Wine loader) only wanted. When those cannot be had,
# the machine takes the road of one that runs no 32-bit programs, and the
# reason is kept (tools/wine-env.sh reads it) so that later runs neither wait
# for the registry again nor forget why.
#
# Safe to run again: nothing is asked of the registry when every package is
# installed. The client's output goes to build/logs/setup.log.
#
# TOLLGRAM_SETUP_UPDATE_TRIES (3) and TOLLGRAM_SETUP_UPDATE_PAUSE (10 s) set
# how often and how patiently a failing index update is tried.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh

packages64=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 python3-pefile
  libtinyobjloader-dev libstb-dev libfast-float-dev libedit-dev
  imagemagick unzip
  clang-tidy cppcheck
)
packages32=(wine32:i386)

update_tries="${TOLLGRAM_SETUP_UPDATE_TRIES:-3}"
update_pause="${TOLLGRAM_SETUP_UPDATE_PAUSE:-10}"
log=build/logs/setup.log
mkdir -p "$(dirname "$log")"
: >"$log"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# missing_of PACKAGE...: prints those not installed, one a line.
missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# last_words: the client's last error in the log, or its last line.
last_words() {
  local words
  words="$(grep -E '^E: ' "$log" | tail -n 1 || true)"
  [ -n "$words" ] || words="$(grep -v '^[[:space:]]*$' "$log" | tail -n 1 || true)"
  echo "${words:-nothing}"
}

# client STEP ARGUMENTS...: runs apt-get with its output in the log, under a
# heading that says which step it was.
client() {
  local step="$1"
  shift
  echo "== $step: apt-get $*" >>"$log"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@" >>"$log" 2>&1
}

# update_index: tries the index update a few times; when it keeps failing,
# says so and goes on, since the lists there are may hold what is missing.
updated=no
update_index() {
  [ "$updated" = no ] || return 0
  updated=yes
  local try
  for ((try = 1; try <= update_tries; try++)); do
    if client "index update, try $try" update -q; then return 0; fi
    [ "$try" -eq "$update_tries" ] || sleep "$update_pause"
  done
  echo "setup: the package index could not be updated ($update_tries tries; apt-get said: $(last_words)); going on with the lists there are"
}

# uninstallable PACKAGE...: names those that the lists offer no version of.
uninstallable() {
  local p
  for p in "$@"; do
    apt-cache policy "$p" 2>/dev/null | grep -q 'Candidate: [^(]' || echo "$p"
  done
}

mapfile -t missing64 < <(missing_of "${packages64[@]}")
mapfile -t missing32 < <(missing_of "${packages32[@]}")
mark32="$(tollgram_no_32bit_packages_mark)"

if [ "${#missing32[@]}" -eq 0 ]; then
  rm -f "$mark32"
elif tollgram_mark_is_fresh "$mark32"; then
  # Found out on an earlier run; asked again once the mark is a day old.
  echo "setup: the 32-bit packages are asked for again a day after they could not be installed (delete $mark32 to ask now)"
  missing32=()
elif ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi

if [ "${#missing64[@]}" -gt 0 ]; then
  echo "setup: installing ${#missing64[@]} packages: ${missing64[*]} (log: $log)"
  update_index
  if ! client "64-bit packages" install -y -q --no-install-recommends "${missing64[@]}"; then
    mapfile -t lacking < <(uninstallable "${missing64[@]}")
    [ "${#lacking[@]}" -gt 0 ] || lacking=("${missing64[@]}")
    echo "setup: could not install ${lacking[*]}; apt-get said: $(last_words)" >&2
    exit 1
  fi
fi

if [ "${#missing32[@]}" -gt 0 ]; then
  echo "setup: installing the 32-bit packages: ${missing32[*]} (log: $log)"
  update_index
  if client "32-bit packages" install -y -q --no-install-recommends "${missing32[@]}"; then
    rm -f "$mark32"
  else
    words="$(last_words)"
    mkdir -p "$(dirname "$mark32")"
    echo "the 32-bit packages (${missing32[*]}) could not be installed: apt-get said: $words" >"$mark32"
    echo "setup: the 32-bit packages (${missing32[*]}) could not be installed: apt-get said: $words"
  fi
fi
