#!/usr/bin/env bash
# The library's main job on its embedded sample: set-up, the Windows build,
# then the demo on the real Tollgram.dll under Wine. Its outputs and
# pictures go to tollgram-demo/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-tollgram-demo}"
bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target tollgram tollgram-host
tools/wine-run.sh build/win32/bin/tollgram-host.exe demo --out "$out"
