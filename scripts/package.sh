#!/usr/bin/env bash
# Builds the Debian package of Jarvane: build-deb/jarvane_VERSION_ARCH.deb.
# dpkg-buildpackage builds in a copy of the source tree (build-deb/jarvane/),
# because it writes into the tree and puts the package beside it; the copy is
# made afresh each time, so the package holds the working tree as it is now.
# Needs the build dependencies of debian/control (scripts/install-deps.sh
# installs them; root or sudo only when something is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-deb

scripts/install-deps.sh
rm -rf "$out"
mkdir -p "$out/jarvane"
# Everything but the build folders, the run command's folder and git's own files.
tar -C "$root" --exclude='./build*' --exclude=./.run --exclude=./.git -cf - . |
  tar -C "$out/jarvane" -xf -
(cd "$out/jarvane" && dpkg-buildpackage -b -us -uc -j"$(nproc)")
rm -rf "$out/jarvane"
ls "$out"/jarvane_*.deb
