#!/usr/bin/env bash
# Builds the Debian package of Jarvane: build-deb/jarvane_VERSION_ARCH.deb.
# dpkg-buildpackage builds in a copy of the source tree (build-deb/jarvane/),
# because it writes into the tree and puts the package beside it; the copy is
# made afresh each time, so the package holds the working tree as it is now.
# Installs the build dependencies that debian/control names when any is
# missing (root or sudo only then); nothing the tests alone need.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-deb

if ! command -v dpkg-checkbuilddeps >/dev/null || ! dpkg-checkbuilddeps 2>/dev/null; then
  echo "Installing the build dependencies of debian/control"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev
  "${sudo_cmd[@]}" apt-get build-dep -y -qq --no-install-recommends ./
fi
rm -rf "$out"
mkdir -p "$out/jarvane"
# Everything but the build folders, the run command's folder and git's own files.
tar -C "$root" --exclude='./build*' --exclude=./.run --exclude=./.git -cf - . |
  tar -C "$out/jarvane" -xf -
(cd "$out/jarvane" && dpkg-buildpackage -b -us -uc -j"$(nproc)")
rm -rf "$out/jarvane"
ls "$out"/jarvane_*.deb
