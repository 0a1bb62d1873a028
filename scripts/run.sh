#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHINAGIKU_BENCH=OFF >/dev/null
cmake --build "$root/build" --target hinagiku hinagikuctl
exec "$root/build/apps/hinagiku/hinagiku" "$@"
