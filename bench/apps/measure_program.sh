#!/usr/bin/env bash
# The installed program from process start to its main window mapped (under
# Xvfb), its resident memory two seconds later, and the CPU it uses over 60
# seconds of idle ticking at 1000 ms. Usage: bench/apps/measure_program.sh [BUILD_DIR]
set -euo pipefail
build=${1:-$(cd "$(dirname "$0")/../.." && pwd)/build}
home=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; cat "$home/stderr.log" >&2; rm -rf "$home"' EXIT
ctl="$build/apps/hinagikuctl/hinagikuctl --home $home"
mkdir -p "$home/Schedule"
$ctl ini set Calendar Directory "$home/Schedule"
$ctl ini set Horiday Set 1
$ctl ini set Tokeiya Ver "Version 2.70"
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
xvfb=$!
read -r number <&3
export DISPLAY=:$number
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  HINAGIKU_HOME=$home SDL_AUDIODRIVER=dummy "$build/apps/hinagiku/hinagiku" 2>>"$home/stderr.log" &
  app=$!
  until xdotool search --onlyvisible --name '^Hinagiku$' >/dev/null 2>&1; do :; done
  shown=$(date +%s%N)
  echo "run $run: shown after $(( (shown - start) / 1000000 )) ms"
  sleep 2
  echo "run $run: resident $(awk '/VmRSS/ {print $2}' /proc/$app/status) kB"
  if [ $run = 5 ]; then
    before=$(awk '{print $14 + $15}' /proc/$app/stat)
    sleep 60
    after=$(awk '{print $14 + $15}' /proc/$app/stat)
    echo "idle: $(( after - before )) clock ticks of $(( 60 * $(getconf CLK_TCK) )) in 60 s"
  fi
  kill $app; wait $app 2>/dev/null || true
done
