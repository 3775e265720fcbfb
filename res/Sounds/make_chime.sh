#!/usr/bin/env bash
# Makes Yes.WAV, the chime played after cookies are deleted: two soft sine
# notes a fifth apart (A5 then E6), each fading out. Needs sox.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -R -D -n -r 22050 -b 16 -c 1 "$tmp/low.wav" synth 0.16 sine 880 sine 1760 remix 1v0.8,2v0.2 fade q 0.005 0.16 0.12
sox -R -D -n -r 22050 -b 16 -c 1 "$tmp/high.wav" synth 0.42 sine 1318.5 sine 2637 remix 1v0.8,2v0.2 fade q 0.005 0.42 0.38
sox -R -D "$tmp/low.wav" "$tmp/high.wav" Yes.WAV vol 0.45
