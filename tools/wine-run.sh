#!/usr/bin/env bash
# Runs a Windows program of a cross build under Wine, headless: a 32-bit
# program with the 32-bit loader in the project's 32-bit prefix, a 64-bit
# one with the 64-bit loader in its 64-bit prefix (both made by
# tools/setup.sh). The program file's own header says which.
#
#   wine-run.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
program="${1:?usage: wine-run.sh PROGRAM [ARGUMENTS...]}"
case "$(tollgram_pe_machine "$program")" in
  x86-64) tollgram_wine_env 64 ;;
  *) tollgram_wine_env 32 ;;
esac
exec "$WINELOADER" "$@"
