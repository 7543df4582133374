#!/usr/bin/env bash
# The set-up's decisions against a package client that fails in each way the
# registry has been seen to: which packages it asks for, which road the
# machine then takes, and the line that says so. No registry is asked: the
# client, dpkg and dpkg-query are stubs (stub-client/) first on PATH, and the
# set-up runs from a copy of tools/ with a home of its own.
#   setup_test.sh SOURCE_FOLDER
set -uo pipefail
source_folder="${1:?usage: setup_test.sh SOURCE_FOLDER}"
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/repo"
cp -r "$source_folder/tools" "$scratch/repo/tools"
export PATH="$here/stub-client:$PATH"
export TOLLGRAM_SETUP_UPDATE_PAUSE=0
unset TOLLGRAM_WIN32_TESTS TOLLGRAM_WINEPREFIX32 TOLLGRAM_WINEPREFIX64 XDG_CACHE_HOME

failures=0
checks=0
fail() {
  echo "FAILED ($scenario): $*"
  echo "--- output:"
  cat "$scratch/out"
  echo "---"
  failures=$((failures + 1))
}
expect_status() {
  checks=$((checks + 1))
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
expect_line() {
  checks=$((checks + 1))
  grep -qF -- "$1" "$scratch/out" || fail "no line with: $1"
}
expect_no_line() {
  checks=$((checks + 1))
  ! grep -qF -- "$1" "$scratch/out" || fail "a line with: $1"
}
expect_calls() {
  checks=$((checks + 1))
  local count
  count="$(grep -c -- "$1" "$STUB_CLIENT/calls" 2>/dev/null)" || true
  [ "${count:-0}" -eq "$2" ] || fail "${count:-0} calls matching '$1', expected $2"
}

# A machine: a client state and a home (the Wine prefixes already made, so
# that the set-up's last step finds them ready).
new_machine() {
  export STUB_CLIENT="$scratch/client-$1"
  export HOME="$scratch/home-$1"
  mkdir -p "$STUB_CLIENT" "$HOME/.wine-tollgram64" "$HOME/.wine-tollgram"
  touch "$HOME/.wine-tollgram64/system.reg" "$HOME/.wine-tollgram/system.reg"
}
new_run() { : >"$STUB_CLIENT/calls"; }
run_packages() {
  new_run
  status=0
  bash "$scratch/repo/tools/setup-packages.sh" >"$scratch/out" 2>&1 || status=$?
}
run_setup() {
  new_run
  status=0
  bash "$scratch/repo/tools/setup.sh" >"$scratch/out" 2>&1 || status=$?
}
# The road that the test and demo commands take, as they decide it.
run_road() {
  status=0
  (source "$scratch/repo/tools/wine-env.sh" && tollgram_win32_tests) >"$scratch/out" 2>&1 || status=$?
}

scenario="a fresh machine, the registry whole"
new_machine fresh
run_packages
expect_status 0
expect_calls '^dpkg --add-architecture i386' 1
expect_calls '^apt-get update' 1
expect_calls '^apt-get install .*cmake' 1
expect_calls '^apt-get install .*wine32:i386' 1
expect_line "setup: installing the 32-bit packages: wine32:i386"
expect_no_line "could not"
all_packages="$STUB_CLIENT/installed"

scenario="everything installed already"
new_machine installed
cp "$all_packages" "$STUB_CLIENT/installed"
echo i386 >"$STUB_CLIENT/architectures"
mkdir -p "$HOME/.cache/tollgram"
echo "an old reason" >"$HOME/.cache/tollgram/no-32bit-packages"
run_packages
expect_status 0
expect_calls '^apt-get' 0
checks=$((checks + 1))
[ ! -s "$scratch/out" ] || fail "the set-up said something"
checks=$((checks + 1))
[ ! -e "$HOME/.cache/tollgram/no-32bit-packages" ] || fail "the mark of a machine without 32-bit packages stayed"

scenario="the index update fails, the 32-bit packages cannot be installed"
new_machine broken
touch "$STUB_CLIENT/update-fails" "$STUB_CLIENT/i386-broken"
run_setup
expect_status 0
expect_calls '^apt-get update' 3
expect_calls '^apt-get install .*cmake' 1
expect_calls '^apt-get install .*wine32:i386' 1
expect_line "setup: the package index could not be updated (3 tries; apt-get said: E: Some index files failed to download. They have been ignored, or old ones used instead.); going on with the lists there are"
expect_line "setup: the 32-bit packages (wine32:i386) could not be installed: apt-get said: E: Unable to correct problems, you have held broken packages."
expect_line "setup: the 32-bit build's programs will not be run (its DLL is checked from its file, the x64 build's tests and demo run under 64-bit Wine): the 32-bit packages (wine32:i386) could not be installed"
expect_line "setup: ready"
run_road
expect_status 1
expect_line "the 32-bit packages (wine32:i386) could not be installed: apt-get said: E: Unable to correct problems, you have held broken packages."
TOLLGRAM_WIN32_TESTS=on run_road
expect_status 2
expect_line "TOLLGRAM_WIN32_TESTS=on, but the 32-bit packages (wine32:i386) could not be installed"

scenario="the same machine again: the registry is not asked for what it could not give"
run_setup
expect_status 0
expect_calls '^apt-get' 0
expect_line "setup: the 32-bit packages are asked for again a day after they could not be installed"
expect_line "setup: the 32-bit build's programs will not be run"
expect_line "setup: ready"

scenario="the same machine a day later, the registry mended"
touch -d '2 days ago' "$HOME/.cache/tollgram/no-32bit-packages"
rm -f "$STUB_CLIENT/update-fails" "$STUB_CLIENT/i386-broken"
run_packages
expect_status 0
expect_calls '^apt-get update' 1
expect_calls '^apt-get install .*wine32:i386' 1
checks=$((checks + 1))
[ ! -e "$HOME/.cache/tollgram/no-32bit-packages" ] || fail "the mark stayed after the 32-bit packages were installed"

scenario="a 64-bit package missing from the registry"
new_machine lacking
echo libfast-float-dev >"$STUB_CLIENT/unavailable"
run_setup
expect_status 1
expect_line "setup: could not install libfast-float-dev; apt-get said: E: Unable to locate package libfast-float-dev"
expect_calls '^apt-get install .*wine32:i386' 0
expect_no_line "setup: ready"

echo "setup decisions: $((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
