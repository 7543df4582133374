#!/usr/bin/env bash
# Makes the release package and checks it as a user receives it, in two
# steps that ctest runs as two tests:
#
#   files:   made by CPack, unpacked by a plain unzip, the files it must hold
#            and no others, the DLL without debugging information but with a
#            link to the file beside the package that holds it, and the
#            packaged DLL read from its file; nothing runs, so this step
#            runs on every machine.
#   at-work: the packaged DLL and tool at work under 32-bit Wine, on the
#            package the first step unpacked.
#
#   check_package.sh files|at-work BUILD CPACK OBJCOPY WINE_RUN PACKAGE_CHECK SOURCE
set -euo pipefail
step="$1" build="$2" cpack="$3" objcopy="$4" wine_run="$5" package_check="$6" source="$7"
objdump="${objcopy%objcopy}objdump"
name=Tollgram-1.9.1.0-win32
problems=0
problem() {
    echo "package: $*"
    problems=$((problems + 1))
}
scratch="$build/package-check"
package="$scratch/$name"

cd "$build"
if [ "$step" = at-work ]; then
    [ -d "$package" ] || { echo "package: $package is not there; the files step makes it"; exit 1; }
    # The packaged DLL loaded and called by path, the packaged tool beside
    # it, and every packaged example run by them.
    "$wine_run" "$package_check" "$package" --gtest_brief=1 || problem "the packaged DLL failed its checks"
    version="$("$wine_run" "$package/tollgram-host.exe" --version | tr -d '\r')"
    echo "$version"
    grep -q "Version -> 1.90999997" <<<"$version" || problem "tollgram-host.exe --version: $version"
    # The examples as the package's examples/README.md says to run them:
    # from the example's folder with ..\..\tollgram-host.exe (the runs'
    # folder lies in the package, so that path names the packaged tool),
    # and by name, the package's folder on the Windows PATH.
    bash "$source/tests/examples/run_examples.sh" "$package/examples" "$package/examples-run" \
        "$wine_run" ../../tollgram-host.exe || problem "the packaged examples run by ..\..\tollgram-host.exe do not match"
    windows_folder="Z:${package//\//\\}"
    bash "$source/tests/examples/run_examples.sh" "$package/examples" "$scratch/examples" \
        env "WINEPATH=$windows_folder" "$wine_run" tollgram-host.exe ||
        problem "the packaged examples run by name from PATH do not match"
    [ "$problems" -eq 0 ]
    exit
fi
[ "$step" = files ] || { echo "check_package.sh: no step $step"; exit 2; }

rm -f "$name.zip"
"$cpack" --config CPackConfig.cmake >/dev/null
[ -f "$name.zip" ] || { echo "package: cpack made no $name.zip"; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"
unzip -q "$name.zip" -d "$scratch"
[ -d "$package" ] || { echo "package: $name.zip holds no folder $name"; exit 1; }

# Exactly these files: the release files and the examples as the
# repository holds them.
{
    printf '%s\n' Tollgram.dll tollgram-host.exe guide.md CHANGELOG.md include/tollgram.h third-party/stb.txt third-party/mingw-w64.txt third-party/fast_float.txt
    if git -C "$source" rev-parse >/dev/null 2>&1; then
        git -C "$source" ls-files examples
    else
        (cd "$source" && find examples -type f)
    fi
} | sort >"$scratch/expected"
(cd "$package" && find . -type f | sed 's|^\./||' | sort) >"$scratch/packaged"
diff -u --label expected --label "$name.zip" "$scratch/expected" "$scratch/packaged" || problem "other files than expected"
cmp -s "$source/docs/guide.md" "$package/guide.md" || problem "guide.md is not the repository's"
cmp -s "$source/include/tollgram.h" "$package/include/tollgram.h" || problem "include/tollgram.h is not the repository's"
grep -q "Sean Barrett" "$package/third-party/stb.txt" || problem "stb's notice names no author"
grep -q "winpthreads" "$package/third-party/mingw-w64.txt" || problem "MinGW-w64's notice does not cover its threads library"
grep -q "Daniel Lemire" "$package/third-party/fast_float.txt" || problem "fast_float's notice names no author"

# The DLL: no debugging information, a debug link naming the file beside
# the package, with that file's CRC.
debug_file="$build/$name.dll.debug"
[ -f "$debug_file" ] || problem "no $name.dll.debug beside the package"
if "$objdump" -h "$package/Tollgram.dll" | grep -q '\.debug_'; then problem "Tollgram.dll carries debugging information"; fi
if "$objdump" -h "$package/tollgram-host.exe" | grep -q '\.debug_'; then problem "tollgram-host.exe carries debugging information"; fi
"$objdump" -h "$debug_file" | grep -q '\.debug_info' || problem "$name.dll.debug holds no debugging information"
"$objcopy" --dump-section .gnu_debuglink="$scratch/debuglink" "$package/Tollgram.dll" "$scratch/dll-copy" 2>/dev/null ||
    problem "Tollgram.dll has no debug link"
if [ -f "$scratch/debuglink" ]; then
    # The file's name, a zero byte (and padding), then the CRC-32 of the file.
    link="$name.dll.debug"
    [ "$(head -c "${#link}" "$scratch/debuglink")" = "$link" ] &&
        [ "$(head -c $((${#link} + 1)) "$scratch/debuglink" | tail -c 1 | od -An -tx1 | tr -d ' ')" = 00 ] ||
        problem "the debug link names $(tr -d '\0' <"$scratch/debuglink" | head -c 64), not $link"
    # gzip ends with the CRC-32 of what it packed: the CRC the link holds.
    crc_linked="$(tail -c 4 "$scratch/debuglink" | od -An -tx4 | tr -d ' ')"
    crc_file="$(gzip -c "$debug_file" | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' ')"
    [ "$crc_linked" = "$crc_file" ] || problem "the debug link's CRC $crc_linked is not that of $link ($crc_file)"
fi
echo "package: $name.zip $(stat -c %s "$name.zip") bytes; Tollgram.dll $(stat -c %s "$package/Tollgram.dll") bytes," \
    "$(stat -c %s "$build/bin/Tollgram.dll") in the build; debugging information $(stat -c %s "$debug_file") bytes"

/usr/bin/python3 "$source/tests/abi/check_dll_file.py" "$package/Tollgram.dll" \
    "$source/src/frame/export_table.h" "$objdump" || problem "the packaged DLL's file is not as Kavrex needs it"

[ "$problems" -eq 0 ]
