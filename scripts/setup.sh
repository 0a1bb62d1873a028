#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Idempotent: packages already present are skipped, so a ready machine does nothing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang pkg-config
  # a fast linker for the many test programs
  lld
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-qpa-plugins libgl-dev
  libsdl2-mixer-dev timgm6mb-soundfont
  libjpeg62-turbo-dev
  libxcb1-dev libxcb-ewmh-dev libxcb-keysyms1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # running and looking at the program
  fonts-noto-cjk xvfb xauth
  # tests: window tools, a small window manager, a fake clock, a word processor for RTF checks
  xdotool wmctrl x11-utils openbox libfaketime faketime imagemagick libreoffice-writer-nogui
  # installing and packaging: checks of the desktop entry, the AppStream data and the package
  desktop-file-utils appstream lintian dpkg-dev file
  # calendar: full-precision sun and moon (VSOP87, ELP 2000-82B) for new moons and solar terms
  libnova-dev
  # the birthday register's picture generator (zodiac glyphs)
  fonts-dejavu-core
  # phone book: ping when ICMP sockets are not allowed; ip for the tests' network namespace
  iputils-ping iproute2
  # printed pages (diary, schedule list) read back with pdftotext; the list's fixed-pitch font
  # is looked up through fontconfig
  poppler-utils libfontconfig-dev
  # tools: .desktop launch through GIO, .lnk shortcuts (lnkinfo checks the test fixtures)
  libglib2.0-dev liblnk-dev libbfio-dev liblnk-utils
  # the desktop's opener of documents, folders and URLs
  xdg-utils
  # mail tests: a POP3 server, an SMTP server (run by /usr/bin/python3), certificates
  dovecot-pop3d python3-aiosmtpd openssl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
