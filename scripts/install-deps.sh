#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Jarvane need,
# when any is missing. Needs root (or sudo) only when something must be installed.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libwxgtk3.2-dev libcanberra-dev
  libgtest-dev libgmock-dev
  xvfb xauth xfonts-base fonts-dejavu-core trayer xdotool imagemagick
  clang libclang-rt-14-dev
  desktop-file-utils appstream
  dpkg-dev debhelper lintian
  g++-mingw-w64-x86-64
  python3
  libsqlite3-dev sqlite3 firefox-esr chromium epiphany-browser dbus-daemon curl
  libpsl-dev nlohmann-json3-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
