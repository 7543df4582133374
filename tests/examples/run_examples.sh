#!/usr/bin/env bash
# Runs every example of examples/ as a script author would, each in a
# scratch copy of its folder, and compares what tollgram-host prints with
# the transcript kept beside it, and the files it writes with those kept in
# its written/ folder, byte for byte.
#
#   run_examples.sh EXAMPLES WORK HOST...
#
# HOST is the command that runs tollgram-host (for the Windows build, Wine
# and the program). A transcript is a series of commands, each a line
# "$ tollgram-host ARGUMENTS" followed by what the command prints (standard
# output and standard error together, line ends without carriage returns).
# TOLLGRAM_UPDATE_EXAMPLES=1 writes what the commands print into the kept
# transcripts instead, for a change that is meant.
set -uo pipefail
examples="$1"
work="$2"
shift 2
host=("$@")
# The line end of the files the library writes: CR LF for the Windows
# program, LF for the Linux one.
line_end=lf
[[ "${host[-1]}" == *.exe ]] && line_end=crlf

failed=0
ran=0
# One start that counts for nothing, so that a slow first start (Wine
# bringing up its server) is not part of the first example.
"${host[@]}" --version >/dev/null 2>&1 || true
for transcript in "$examples"/*/transcript.txt; do
    folder="$(dirname "$transcript")"
    name="$(basename "$folder")"
    scratch="$work/$name"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    (cd "$folder" && tar cf - --exclude=./transcript.txt --exclude=./written .) | (cd "$scratch" && tar xf -)

    printed="$work/$name.transcript"
    : >"$printed"
    while IFS= read -r line; do
        [[ "$line" == '$ tollgram-host'* ]] || continue
        read -ra arguments <<<"${line#'$ tollgram-host'}"
        printf '%s\n' "$line" >>"$printed"
        (cd "$scratch" && "${host[@]}" "${arguments[@]}" 2>&1) </dev/null | sed 's/\r$//' >>"$printed"
        status="${PIPESTATUS[0]}"
        if [ "$status" -ne 0 ]; then
            echo "examples/$name: \"$line\" ended with exit code $status"
            failed=1
        fi
    done <"$transcript"

    if [ "${TOLLGRAM_UPDATE_EXAMPLES:-0}" = 1 ]; then
        cp "$printed" "$transcript"
    elif ! diff -u --label "examples/$name/transcript.txt" --label "as printed now" "$transcript" "$printed"; then
        failed=1
    fi
    if [ -d "$folder/written" ]; then
        for kept in "$folder"/written/*; do
            file="$(basename "$kept")"
            if [ ! -f "$scratch/$file" ]; then
                echo "examples/$name: $file was not written"
                failed=1
                continue
            fi
            # The kept files end their lines with CR LF, as Tollgram.dll
            # writes them; the Linux library writes LF alone. Byte for byte
            # either way.
            expected="$kept"
            if [ "$line_end" = lf ]; then
                expected="$work/$name.$file.lf"
                tr -d '\r' <"$kept" >"$expected"
            fi
            if ! cmp -s "$expected" "$scratch/$file"; then
                echo "examples/$name: $file differs from written/$file (line ends $line_end):"
                diff -u --label "examples/$name/written/$file" --label "as written now" \
                    <(od -c "$expected") <(od -c "$scratch/$file") | head -40
                failed=1
            fi
        done
    fi
    # What an example makes, run by hand in its folder of the checkout,
    # is ignored there, so that it never shows as a change.
    if git -C "$examples" rev-parse --git-dir >/dev/null 2>&1; then
        for made in "$scratch"/*; do
            made="$(basename "$made")"
            [ -e "$folder/$made" ] && continue
            [ -d "$scratch/$made" ] && made="$made/"
            if ! git -C "$examples" check-ignore -q "$name/$made"; then
                echo "examples/$name: $made, which the example makes, is not ignored by .gitignore"
                failed=1
            fi
        done
    fi
    ran=$((ran + 1))
done

echo "examples: $ran run"
[ "$ran" -gt 0 ] && [ "$failed" -eq 0 ]
