#!/usr/bin/env bash
# Fills a working folder for Jarvane the way a desktop shortcut's start-in
# folder would be: Jarvane keeps its own files there (Location.DAT, Jarvane.INI,
# IEPROT.DAT, NSPROT.DAT) and finds its help book and sound there. The run
# command and the installed launcher (jarvane-desktop) both fill theirs here.
# Used as: prepare-workdir.sh WORKDIR [DATADIR]
#
# The help book and the sound are refreshed every time, from DATADIR (help/
# and Sounds/Yes.WAV): the repository's res/ by default, the installed data
# folder when the launcher calls.
# From the repository (no DATADIR), the folder also gets copies of the bundled
# sample cookie stores (only when it has none yet, so cookies deleted in one run
# stay deleted) and a Location.DAT that points at them (only when it has none
# yet, so the user's choices survive). Remove the folder to start afresh.
set -euo pipefail
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: $0 WORKDIR [DATADIR]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
data=${2:-$root/res}
mkdir -p "$1"
work=$(cd "$1" && pwd)

if [ $# -eq 1 ]; then
  if [ ! -e "$work/samples/ie" ]; then
    mkdir -p "$work/samples"
    cp -R "$root/samples/ie" "$work/samples/ie"
  fi
  if [ ! -e "$work/samples/ns/cookies.txt" ]; then
    mkdir -p "$work/samples/ns"
    cp "$root/samples/ns/cookies.txt" "$work/samples/ns/cookies.txt"
  fi
  if [ ! -e "$work/Location.DAT" ]; then
    printf '[IE]\r\nLocation 1=%s\r\n[NS]\r\nLocation 1=%s\r\n' \
      "$work/samples/ie" "$work/samples/ns/cookies.txt" >"$work/Location.DAT"
  fi
fi

# Installed under ~/.local, the data folder is the launcher's working folder.
if [ "$(cd "$data" && pwd -P)" != "$(cd "$work" && pwd -P)" ]; then
  rm -rf "$work/help"
  cp -R "$data/help" "$work/help"
  mkdir -p "$work/Sounds"
  cp "$data/Sounds/Yes.WAV" "$work/Sounds/Yes.WAV"
fi
