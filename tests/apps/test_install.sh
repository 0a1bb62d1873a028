#!/usr/bin/env bash
# The program as a package installs it: `cmake --install` into a temporary
# DESTDIR puts every file where a freedesktop desktop looks for it, the
# desktop entry and the AppStream metadata validate, and the installed
# program, started under Xvfb with a home of its own, shows its main window
# and opens the help pages it ships.
# Usage: test_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log"
prefix="$root/usr"
id=org.hinagiku.Hinagiku
for file in bin/hinagiku bin/hinagikuctl \
            share/hinagiku/help_html/index.html \
            share/applications/$id.desktop \
            share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg \
            share/man/man1/hinagiku.1.gz share/man/man1/hinagikuctl.1.gz share/doc/hinagiku/copyright share/doc/hinagiku/changelog.gz; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "no ${size}px icon"
  # PNG header: width and height at bytes 16..23, big-endian.
  dims=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ')
  [ "$dims" = " 0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))" ] ||
    fail "${size}px icon is$dims"
done
[ -x "$prefix/bin/hinagiku" ] || fail "hinagiku is not executable"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
else
  echo "skipped: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.log" ||
    { cat "$work/as.log"; fail "metainfo"; }
else
  echo "skipped: appstreamcli is not installed"
fi
grep -q '^StartupWMClass=Hinagiku$' "$prefix/share/applications/$id.desktop" ||
  fail "StartupWMClass"

for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "skipped the window check: no $tool"; exit 0; }
done

# The installed program under Xvfb, with a home of its own and an opener on
# PATH that records what it is asked to open.
mkdir -p "$work/home" "$work/bin"
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
OPENER
chmod +x "$work/bin/xdg-open"
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 20 number <&3 || fail "Xvfb did not start"
export DISPLAY=":$number"
HINAGIKU_HOME="$work/home" PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS=detect_leaks=0 XDG_CURRENT_DESKTOP=X-Generic \
  "$prefix/bin/hinagiku" >"$work/app.log" 2>&1 &
app_pid=$!
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --class Hinagiku 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { cat "$work/app.log"; fail "no main window"; }
[ -f "$work/home/hinagiku.ini" ] || fail "the first start wrote no settings file"

# The help button: fourth of the second row of the button bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 12 + 1 + 3 * 25 + 12)) $((Y + 2 + 26 + 12)) click 1
for _ in $(seq 1 50); do
  [ -s "$work/opened" ] && break
  sleep 0.2
done
[ -s "$work/opened" ] || { cat "$work/app.log"; fail "the help button opened nothing"; }
expected="file://$prefix/share/hinagiku/help_html/index.html"
grep -qx "$expected" "$work/opened" || fail "help opened $(cat "$work/opened"), not $expected"
echo "installed program started and found its help pages"
