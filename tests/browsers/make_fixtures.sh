#!/usr/bin/env bash
# Remakes the committed browser fixtures in tests/fixtures/browsers from real
# browsers: firefox-esr and chromium visit the local cookie server once.
# The databases are compacted with sqlite3's VACUUM INTO (same rows and schema,
# without the browsers' preallocated free pages).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../fixtures/browsers
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
port=$((20000 + RANDOM % 20000))
python3 "$here/cookie_server.py" "$port" "$work/log.txt" &
server=$!
sleep 1
"$here/visit.sh" firefox "$work/ff" "$port"
"$here/visit.sh" chromium "$work/cr" "$port"
mkdir -p "$out"
rm -f "$out/firefox-cookies.sqlite" "$out/chromium-Cookies"
sqlite3 "$work/ff/cookies.sqlite" "VACUUM INTO '$out/firefox-cookies.sqlite'"
sqlite3 "$work/cr/Default/Cookies" "VACUUM INTO '$out/chromium-Cookies'"
echo "firefox: $(firefox-esr --version 2>/dev/null); chromium: $(chromium --version 2>/dev/null)"
