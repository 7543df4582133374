#!/usr/bin/env bash
# The file check must find each fault of the faulty DLL: the check that
# passes Tollgram.dll is one that can fail.
#
#   expect_faults.sh CHECKER FAULTY_DLL EXPORT_TABLE OBJDUMP
set -uo pipefail
checker="$1" dll="$2"
shift 2
output="$(/usr/bin/python3 "$checker" "$dll" "$@")"
status=$?
missing=0
expect() {
    grep -qF -- "$1" <<<"$output" || { echo "not reported: $1"; missing=1; }
}
expect "export Version returns with \`ret \$0x20\`"
expect "export _LoadOBJFile is a decorated name"
expect "export LoadOBJFile is missing"
expect "export FreeOBJModel is missing"
expect "imports from libwinpthread-1.dll, which is not a DLL of Windows itself"
expect "no version resource"
[ "$status" -eq 1 ] || { echo "the check ended with $status, not 1"; missing=1; }
[ "$missing" -eq 0 ] || printf '%s\n' "$output"
[ "$missing" -eq 0 ] && echo "the file check found every fault of $(basename "$dll")"
