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

run_suite() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

run_suite "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DHINAGIKU_SANITIZE=ON -DHINAGIKU_BENCH=OFF
