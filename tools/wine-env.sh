# Sourced by the scripts that run Windows programs: where the two Wine
# prefixes are, which loader runs which kind of program, and whether this
# machine runs 32-bit programs at all.

# tollgram_wine_env 32|64: exports the environment for running programs of
# that width headless in the project's prefix for them.
tollgram_wine_env() {
  export WINEDEBUG=-all
  export DISPLAY=
  if [ "$1" = 64 ]; then
    export WINEARCH=win64
    export WINEPREFIX="${TOLLGRAM_WINEPREFIX64:-$HOME/.wine-tollgram64}"
    export WINELOADER=/usr/lib/wine/wine64
  else
    export WINEARCH=win32
    export WINEPREFIX="${TOLLGRAM_WINEPREFIX32:-$HOME/.wine-tollgram}"
    export WINELOADER=/usr/lib/wine/wine
  fi
}

# tollgram_pe_machine FILE: prints i386 or x86-64 for a Windows program or
# DLL of either kind, and nothing for any other file.
tollgram_pe_machine() {
  [ -f "$1" ] || return 0
  [ "$(head -c 2 "$1")" = MZ ] || return 0
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
  case "$machine" in
    014c) echo i386 ;;
    8664) echo x86-64 ;;
  esac
}

# tollgram_no_32bit_packages_mark: the file in which the set-up keeps why
# the 32-bit packages could not be installed on this machine, while that
# holds (tools/setup-packages.sh writes and removes it).
tollgram_no_32bit_packages_mark() {
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/tollgram/no-32bit-packages"
}

# tollgram_mark_is_fresh FILE: succeeds when FILE exists and is less than a
# day old.
tollgram_mark_is_fresh() {
  [ -f "$1" ] && [ -n "$(find "$1" -mmin -1440 2>/dev/null)" ]
}

# tollgram_runs_32bit: succeeds when this machine starts 32-bit programs,
# found by starting one (the 32-bit Wine loader); otherwise prints why not.
# Some kernels refuse every i386 program (no IA-32 emulation), and then
# nothing of the 32-bit build can run, whatever is installed. Where the
# set-up could not install the 32-bit packages, its reason is the answer.
tollgram_runs_32bit() {
  local loader=/usr/lib/wine/wine output mark
  mark="$(tollgram_no_32bit_packages_mark)"
  if [ -f "$mark" ]; then
    cat "$mark"
    return 1
  fi
  if [ ! -x "$loader" ]; then
    echo "the 32-bit Wine loader ($loader, Debian's wine32:i386) is not installed"
    return 1
  fi
  if ! output=$("$loader" --version 2>&1); then
    echo "this machine does not run 32-bit programs: $loader --version failed: $(head -n 1 <<<"$output")"
    return 1
  fi
}

# tollgram_win32_tests: decides from TOLLGRAM_WIN32_TESTS (auto, on or off;
# auto by default) whether the 32-bit build's programs are run. Succeeds
# when they are; otherwise prints the reason. A machine that cannot run
# them with "on" is an error (exit status 2), for the caller to stop on.
tollgram_win32_tests() {
  local reason
  case "${TOLLGRAM_WIN32_TESTS:-auto}" in
    off)
      echo "TOLLGRAM_WIN32_TESTS=off"
      return 1
      ;;
    on)
      if ! reason=$(tollgram_runs_32bit); then
        echo "TOLLGRAM_WIN32_TESTS=on, but $reason"
        return 2
      fi
      ;;
    auto)
      if ! reason=$(tollgram_runs_32bit); then
        echo "$reason"
        return 1
      fi
      ;;
    *)
      echo "TOLLGRAM_WIN32_TESTS is ${TOLLGRAM_WIN32_TESTS}; it must be auto, on or off"
      return 2
      ;;
  esac
}
