#!/usr/bin/env bash
# The library's main job on its embedded sample: set-up, the Windows build,
# then the demo on the real Tollgram.dll under Wine. Its outputs and
# pictures go to tollgram-demo/ (or the folder given).
#
# Where this machine runs no 32-bit programs (or TOLLGRAM_WIN32_TESTS=off),
# the same demo runs on the x64 build of the same sources under 64-bit Wine,
# and says so first; it prints and writes the same.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-tollgram-demo}"
bash tools/setup.sh
# Decided after the set-up, which installs the 32-bit loader the question
# is put to.
source tools/wine-env.sh
status=0
reason="$(tollgram_win32_tests)" || status=$?
preset=win32
note=""
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 1 ] || { echo "demo: $reason" >&2; exit 1; }
  note="demo: on the x64 build under 64-bit Wine, not the 32-bit Tollgram.dll: $reason"
  preset=win64
fi
# The build's own output goes to a log, so that the demo is what is read.
log=build/logs/demo-build.log
mkdir -p "$(dirname "$log")"
echo "demo: building the $preset preset (log: $log)"
if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$(nproc)" --target tollgram tollgram-host; } >"$log" 2>&1; then
  echo "demo: the build failed; the last lines of $log:" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
[ -z "$note" ] || echo "$note"
tools/wine-run.sh "build/$preset/bin/tollgram-host.exe" demo --out "$out"
