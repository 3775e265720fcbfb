#!/usr/bin/env bash
# Remakes the committed browser fixtures in tests/fixtures/browsers from real
# browsers: make_fixtures.sh [firefox] [chromium] [epiphany] (all by default;
# only the named browsers' files are replaced). firefox-esr makes a profile in
# a scratch home (-CreateProfile, which writes profiles.ini), then each browser
# visits the local cookie server once (firefox-esr and chromium headless,
# epiphany-browser on a virtual display). The fixture home keeps profiles.ini
# and the cookie databases, compacted with sqlite3's VACUUM INTO (same rows and
# schema, without the browsers' preallocated free pages).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../fixtures/browsers/home
browsers=("$@")
[ ${#browsers[@]} -eq 0 ] && browsers=(firefox chromium epiphany)
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
port=$((20000 + RANDOM % 20000))
python3 "$here/cookie_server.py" "$port" "$work/log.txt" &
server=$!
sleep 1
compact() {
  rm -f "$2"
  mkdir -p "$(dirname "$2")"
  sqlite3 "$1" "VACUUM INTO '$2'"
}
for browser in "${browsers[@]}"; do
  case $browser in
  firefox)
    HOME=$work/home firefox-esr --headless -CreateProfile work >/dev/null 2>&1
    ini=$(cd "$work/home" && find . -name profiles.ini | head -1)
    ffbase=$(dirname "$ini")
    ffprofile=$(sed -n 's/^Path=//p' "$work/home/$ini" | head -1)
    "$here/visit.sh" firefox "$work/home/$ffbase/$ffprofile" "$port"
    rm -rf "${out:?}/$ffbase"
    mkdir -p "$out/$ffbase"
    cp "$work/home/$ini" "$out/$ffbase/profiles.ini"
    compact "$work/home/$ffbase/$ffprofile/cookies.sqlite" "$out/$ffbase/$ffprofile/cookies.sqlite"
    echo "firefox: $(firefox-esr --version 2>/dev/null)"
    ;;
  chromium)
    "$here/visit.sh" chromium "$work/home/.config/chromium" "$port"
    rm -rf "$out/.config/chromium"
    compact "$work/home/.config/chromium/Default/Cookies" "$out/.config/chromium/Default/Cookies"
    echo "chromium: $(chromium --version 2>/dev/null)"
    ;;
  epiphany)
    "$here/visit.sh" epiphany "$work/home" "$port"
    "$here/visit.sh" epiphany "$work/home" "$port" www.bank.test
    rm -rf "$out/.local/share/epiphany"
    compact "$work/home/.local/share/epiphany/cookies.sqlite" \
      "$out/.local/share/epiphany/cookies.sqlite"
    echo "epiphany-browser: $(epiphany-browser --version 2>/dev/null)," \
      "WebKitGTK $(dpkg-query -W -f='${Version}' libwebkit2gtk-4.1-0)"
    ;;
  *)
    echo "unknown browser $browser" >&2
    exit 2
    ;;
  esac
done
