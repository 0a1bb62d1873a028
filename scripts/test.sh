#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in a
# normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leak reports from system libraries (fontconfig, iconv's module cache) are not ours.
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp

# run_suite DIR "CTEST ARGS" CMAKE ARGS...
run_suite() {
  local dir=$1 ctest_args=$2; shift 2
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  # shellcheck disable=SC2086
  (cd "$dir" && ctest --output-on-failure -j "$jobs" $ctest_args)
}

# Line tables (-g1) are enough for stack traces and compile much faster than full debug data.
run_suite "$root/build" "" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
# Tests of packaging and of killed processes check files, not memory: the normal build covers them.
run_suite "$root/build-asan" "-LE no_sanitizer" -DCMAKE_BUILD_TYPE=Debug -DHINAGIKU_SANITIZE=ON \
  -DHINAGIKU_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DCMAKE_C_FLAGS_DEBUG="-O0 -g1"
