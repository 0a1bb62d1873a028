#!/usr/bin/env bash
# Builds the Debian package hinagiku_<version>_<arch>.deb into the current
# folder (or the folder given), from a Release build of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "${1:-.}" && pwd)
bash "$root/scripts/setup.sh"
build="$root/build-package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DHINAGIKU_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target hinagiku hinagikuctl
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
deb=$(ls "$build"/package/hinagiku_*.deb)
cp "$deb" "$out/"
echo "$out/$(basename "$deb")"
