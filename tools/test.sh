#!/usr/bin/env bash
# Every test of both builds, from a fresh machine: set-up, the native build
# and its suite, the same suite under the sanitizers, the OBJ tests under the
# race checker, short fuzzing runs, the 32-bit Windows build (the product)
# with its tests and the ABI test under Wine, and the same sources built for
# x64 Windows with the same tests under 64-bit Wine.
#
# Some machines run no 32-bit programs. There the 32-bit build's programs
# are skipped, and said to be, and its DLL and package are checked by
# reading their files; TOLLGRAM_WIN32_TESTS=auto|on|off (tools/wine-env.sh)
# decides.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${TOLLGRAM_JOBS:-$(nproc)}"
fuzz_seconds="${TOLLGRAM_FUZZ_SECONDS:-60}"

bash tools/setup.sh
source tools/wine-env.sh

passed=0
failed=0
skipped=0
summary=()

# Runs one preset's tests, or those that the further ctest arguments
# select, and adds its counts to the totals.
run_tests() {
  local preset="$1" log
  shift
  log="$(mktemp)"
  local status=0
  ctest --preset "$preset" -j "$jobs" "$@" 2>&1 | tee "$log" || status=$?
  local line
  line="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)"
  if [[ "$line" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    local f="${BASH_REMATCH[1]}" total="${BASH_REMATCH[2]}"
    passed=$((passed + total - f))
    failed=$((failed + f))
    summary+=("$preset: $((total - f)) of $total test programs passed")
  else
    failed=$((failed + 1))
    summary+=("$preset: no test result")
  fi
  # gtest's own counts, for the record.
  grep -hE '^\[  PASSED  \] [0-9]+ tests?' "$log" | awk -v p="$preset" '{n += $4} END {if (n) print p ": " n " GoogleTest cases passed"}' || true
  rm -f "$log"
  [ "$status" -eq 0 ] || failed=$((failed > 0 ? failed : 1))
}

# Builds one preset. A compiler or linker warning is a finding: the
# project's builds are kept free of them.
build() {
  local preset="$1" start end log warnings
  start=$(date +%s)
  log="$(mktemp)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" 2>&1 | tee "$log"
  end=$(date +%s)
  warnings="$(grep -c 'warning: ' "$log" || true)"
  rm -f "$log"
  echo "build $preset: $((end - start)) s, $warnings warnings"
  if [ "$warnings" -gt 0 ]; then
    failed=$((failed + 1))
    summary+=("build $preset: $warnings compiler warnings")
  fi
}

build native
run_tests native

if bash tools/static-checks.sh; then passed=$((passed + 1)); summary+=("static checks: clean"); else failed=$((failed + 1)); summary+=("static checks: findings"); fi

build native-asan
run_tests native-asan

# The parallel OBJ read: a data race is a fault.
build native-tsan
run_tests native-tsan

build fuzz
# The fuzzers that read and write files run several times faster on a
# memory file system.
fuzz_tmp="${TMPDIR:-/tmp}"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then fuzz_tmp=/dev/shm; fi
for fuzzer in build/fuzz/bin/*_fuzzer; do
  [ -x "$fuzzer" ] || continue
  name="$(basename "$fuzzer" _fuzzer)"
  seeds="tests/fuzz/seeds/$name"
  corpus="$(mktemp -d)"
  echo "fuzz $name: ${fuzz_seconds} s"
  if TMPDIR="$fuzz_tmp" "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" "$seeds" 2>"$corpus.log"; then
    passed=$((passed + 1))
    grep -E 'stat::number_of_executed_units' "$corpus.log" || true
  else
    failed=$((failed + 1))
    tail -n 40 "$corpus.log"
  fi
  summary+=("fuzz $name: see above")
  rm -rf "$corpus" "$corpus.log"
done

build win32
win32_status=0
win32_reason="$(tollgram_win32_tests)" || win32_status=$?
if [ "$win32_status" -eq 0 ]; then
  run_tests win32
else
  echo "win32: the 32-bit build's test programs are skipped: ${win32_reason%.}."
  echo "win32: its DLL and package are checked by reading their files; the win64 build runs the tests."
  run_tests win32 -L file-check
  if [ "$win32_status" -eq 1 ]; then
    skipped=$((skipped + 1))
    summary+=("win32: test programs skipped ($win32_reason)")
  else
    failed=$((failed + 1))
    summary+=("win32: $win32_reason")
  fi
fi

build win64
run_tests win64

printf '%s\n' "${summary[@]}"
if [ "$skipped" -gt 0 ]; then
  echo "tests: $passed passed, $failed failed, $skipped skipped"
else
  echo "tests: $passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
