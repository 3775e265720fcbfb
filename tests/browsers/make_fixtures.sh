#!/usr/bin/env bash
# Remakes the committed browser fixtures in tests/fixtures/browsers from real
# browsers: firefox-esr makes a profile in a scratch home (-CreateProfile, which
# writes profiles.ini), then firefox-esr and chromium visit the local cookie
# server once. The fixture home keeps profiles.ini and the two cookie
# databases, compacted with sqlite3's VACUUM INTO (same rows and schema,
# without the browsers' preallocated free pages).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../fixtures/browsers/home
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
port=$((20000 + RANDOM % 20000))
python3 "$here/cookie_server.py" "$port" "$work/log.txt" &
server=$!
sleep 1
HOME=$work/home firefox-esr --headless -CreateProfile work >/dev/null 2>&1
ini=$(cd "$work/home" && find . -name profiles.ini | head -1)
ffbase=$(dirname "$ini")
ffprofile=$(sed -n 's/^Path=//p' "$work/home/$ini" | head -1)
"$here/visit.sh" firefox "$work/home/$ffbase/$ffprofile" "$port"
"$here/visit.sh" chromium "$work/home/.config/chromium" "$port"
rm -rf "$out"
mkdir -p "$out/$ffbase/$ffprofile" "$out/.config/chromium/Default"
cp "$work/home/$ini" "$out/$ffbase/profiles.ini"
sqlite3 "$work/home/$ffbase/$ffprofile/cookies.sqlite" \
  "VACUUM INTO '$out/$ffbase/$ffprofile/cookies.sqlite'"
sqlite3 "$work/home/.config/chromium/Default/Cookies" \
  "VACUUM INTO '$out/.config/chromium/Default/Cookies'"
echo "firefox: $(firefox-esr --version 2>/dev/null); chromium: $(chromium --version 2>/dev/null)"
