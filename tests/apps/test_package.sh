#!/usr/bin/env bash
# The Debian package: built by CPack from this build tree, named
# hinagiku_<version>_<arch>.deb, with Depends computed from the programs'
# libraries plus what they open at run time, and no lintian error.
# Usage: test_package.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 0; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/hinagiku_*_*.deb)
[[ $(basename "$deb") =~ ^hinagiku_[0-9.]+_[a-z0-9]+\.deb$ ]] || fail "package name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in timgm6mb-soundfont fonts-noto-cjk libqt6widgets6 libc6; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
dpkg-deb -c "$deb" >"$work/contents"
grep -q " ./usr/bin/hinagiku$" "$work/contents" || fail "no /usr/bin/hinagiku in the package"
lintian --fail-on error "$deb" || fail "lintian reports errors"
echo "package $(basename "$deb") is clean"
