#!/usr/bin/env bash
# Builds Jarvane and starts it on the bundled sample cookie stores, in a scratch
# working folder (.run/) so that the repository never changes. Needs a
# graphical session (DISPLAY or WAYLAND_DISPLAY).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# What `cmake --install build` installs, so that it works right after this.
cmake --build build -j"$(nproc)" --target jarvane jarvane-cli

work="$root/.run"
mkdir -p "$work"
scripts/prepare-workdir.sh "$work"
cd "$work"
exec "$root/build/jarvane"
