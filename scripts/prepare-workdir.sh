#!/usr/bin/env bash
# Makes a working folder for Jarvane the way a desktop shortcut's start-in
# folder would be: Jarvane keeps its own files there (Location.DAT, Jarvane.INI,
# IEPROT.DAT, NSPROT.DAT) and finds its help book and sound there.
# Used as: prepare-workdir.sh WORKDIR
#
# The folder gets copies of the bundled sample cookie stores (only when it has
# none yet, so cookies deleted in one run stay deleted) and a Location.DAT that
# points at them (only when it has none yet, so the user's choices survive).
# The help book and the sound are refreshed every time. Remove the folder to
# start afresh.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 WORKDIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
work=$(cd "$1" && pwd)

if [ -d "$root/samples/ie" ] && [ ! -e "$work/samples/ie" ]; then
  mkdir -p "$work/samples"
  cp -R "$root/samples/ie" "$work/samples/ie"
fi
if [ -f "$root/samples/ns/cookies.txt" ] && [ ! -e "$work/samples/ns/cookies.txt" ]; then
  mkdir -p "$work/samples/ns"
  cp "$root/samples/ns/cookies.txt" "$work/samples/ns/cookies.txt"
fi

if [ ! -e "$work/Location.DAT" ]; then
  printf '[IE]\r\nLocation 1=%s\r\n[NS]\r\nLocation 1=%s\r\n' \
    "$work/samples/ie" "$work/samples/ns/cookies.txt" >"$work/Location.DAT"
fi

rm -rf "$work/help"
cp -R "$root/res/help" "$work/help"
mkdir -p "$work/Sounds"
cp "$root/res/Sounds/Yes.WAV" "$work/Sounds/Yes.WAV"
