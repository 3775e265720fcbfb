#!/usr/bin/env bash
# jarvane-cli as a script uses it, on scratch copies of the sample stores: each
# command's output, the files it leaves, and each exit status.
# Used as: cli_test.sh PATH-TO-JARVANE-CLI
set -u
cli=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$cli" "$@" >"$scratch/out" 2>"$scratch/err"; status=$?; }
expect_status() { [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1 ($(cat "$scratch/err"))"; }
one_error_naming() { # what the single stderr line must name
  [ "$(wc -l <"$scratch/err")" -eq 1 ] && grep -qF -- "$1" "$scratch/err" ||
    fail "expected one error line naming $1, got: $(cat "$scratch/err")"
}
snapshot() { (cd "$1" && find . -type f -exec md5sum {} + | sort; find . | sort); }
work=$scratch/work
"$root/scripts/prepare-workdir.sh" "$work" >/dev/null
ns=$work/samples/ns/cookies.txt

# Usage errors, help.
run --help; expect_status 0 "--help"; grep -q '^Usage: jarvane-cli' "$scratch/out" || fail "no usage text"
for args in "" "frobnicate" "-C" "list --sort size" "protect" "find --force" "-x list" "undo x" "undo 0" "undo --list --forget"; do
  run $args; expect_status 1 "'$args'"; one_error_naming "jarvane-cli:"
done

# No Location.DAT: exit 2, a hint, nothing written.
mkdir "$scratch/empty"
for command in list delete-all "protect x" locations; do
  run -C "$scratch/empty" $command; expect_status 2 "$command without Location.DAT"
  one_error_naming "Location.DAT"; grep -q "find --save" "$scratch/err" || fail "no hint to find --save"
done
[ -z "$(ls -A "$scratch/empty")" ] || fail "files written without Location.DAT: $(ls -A "$scratch/empty")"
HOME=$scratch/home XDG_DATA_HOME= run list; expect_status 2 "default folder missing"
one_error_naming "$scratch/home/.local/share/jarvane"

# list writes nothing; the count goes to stderr; --sort orders by a column.
before=$(snapshot "$work")
run -C "$work" list; expect_status 0 list
[ "$(snapshot "$work")" = "$before" ] || fail "list changed files"
rows=$(wc -l <"$scratch/out")
[ "$rows" -gt 20 ] || fail "only $rows rows listed"
[ "$(cat "$scratch/err")" = "$rows cookies" ] || fail "count line: $(cat "$scratch/err")"
awk -F'\t' 'NF != 3 || ($3 != "Internet Explorer" && $3 != "Netscape Browser") { exit 1 }' \
  "$scratch/out" || fail "rows are not cookie, state, browser"
for column in cookie:1 browser:3; do
  run -C "$work" list --sort "${column%:*}"; expect_status 0 "list --sort ${column%:*}"
  LC_ALL=C sort -c -s -t $'\t' -k"${column#*:},${column#*:}" "$scratch/out" ||
    fail "list --sort ${column%:*} is not in order"
done

# protect / unprotect: an unknown name changes nothing; known names are marked
# in every record and saved.
run -C "$work" protect .example.com no.such.cookie; expect_status 1 "unknown name"
one_error_naming "no.such.cookie"
[ "$(snapshot "$work")" = "$before" ] || fail "an unknown name changed files"
run -C "$work" protect .example.com example.com/ example.org/; expect_status 0 protect
grep -qx $'.example.com\r' "$work/NSPROT.DAT" || fail "NSPROT.DAT lacks .example.com"
[ "$(grep -c $'^example.com/\r$\|^example.org/\r$' "$work/IEPROT.DAT")" -eq 2 ] || fail "IEPROT.DAT: $(cat -A "$work/IEPROT.DAT")"
# Host names match ignoring case, as the browsers match them; Internet
# Explorer names (paths) exactly.
run -C "$work" unprotect .EXAMPLE.com; expect_status 0 "unprotect in another case"
grep -q example.com "$work/NSPROT.DAT" && fail "unprotect .EXAMPLE.com left the mark"
run -C "$work" protect .Example.Com; expect_status 0 "protect in another case"
grep -qx $'.example.com\r' "$work/NSPROT.DAT" || fail "NSPROT.DAT lacks .example.com: $(cat -A "$work/NSPROT.DAT")"
run -C "$work" protect EXAMPLE.COM/; expect_status 1 "an Internet Explorer name in another case"
run -C "$work" unprotect example.org/; expect_status 0 unprotect
grep -q example.org "$work/IEPROT.DAT" && fail "unprotect left example.org/ in IEPROT.DAT"
run -C "$work" list
[ "$(grep -c $'\tProtected\t' "$scratch/out")" -eq "$(grep -c . "$work/IEPROT.DAT" "$work/NSPROT.DAT" | awk -F: '{ n += $2 } END { print n }')" ] ||
  fail "list does not show the saved marks"

# delete-all: counts per browser match what left the disk; protected cookies stay.
ie_before=$(ls "$work/samples/ie" | wc -l)
ns_before=$(grep -c $'\t' "$ns")
site_before=$(grep -c $'^\\.example\\.com\t' "$ns")
ie_sums=$(cd "$work/samples/ie" && md5sum -- * | sort)
ns_lines() { tr -d '\r' <"$ns" | grep $'\t' | sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | sort; }
ns_before_lines=$(ns_lines)
value=$(sed -n 2p "$(grep -rLx $'example.com/\r' "$work/samples/ie" | head -1)" | tr -d '\r')
old_mask=$(umask); umask 000
run -C "$work" delete-all; expect_status 0 delete-all
umask "$old_mask"
ie_gone=$((ie_before - $(ls "$work/samples/ie" | wc -l)))
ns_gone=$((ns_before - $(grep -c $'\t' "$ns")))
[ "$(cat "$scratch/out")" = $'Internet Explorer\t'"$ie_gone"$'\nNetscape Browser\t'"$ns_gone" ] ||
  fail "delete-all printed $(cat "$scratch/out"); $ie_gone and $ns_gone left the disk"
[ "$ie_gone" -gt 0 ] && [ "$ns_gone" -gt 0 ] || fail "delete-all deleted nothing"
[ "$(grep -c $'^\\.example\\.com\t' "$ns")" -eq "$site_before" ] || fail "protected Netscape cookies were deleted"
grep -rqx $'example.com/\r' "$work/samples/ie" || fail "the protected Internet Explorer cookie was deleted"
grep -qx $'.example.com\r' "$work/NSPROT.DAT" || fail "delete-all lost a mark"

# undo: the copies are private, come back byte for byte, once; --forget and
# Keep=0 leave no cookie value in the working folder.
[ "$(stat -c %a "$work/UNDO.DB")" = 600 ] || fail "UNDO.DB has mode $(stat -c %a "$work/UNDO.DB") under umask 000"
grep -rqF -- "$value" "$work/UNDO.DB" || fail "UNDO.DB does not hold the deleted value $value"
run -C "$work" undo --list; expect_status 0 "undo --list"
grep -qx $'1\t[0-9-]* [0-9:]*\tcommand\tInternet Explorer: '"$ie_gone"', Netscape Browser: '"$ns_gone" "$scratch/out" ||
  fail "undo --list printed $(cat "$scratch/out")"
run -C "$work" undo; expect_status 0 undo
grep -q "^$((ie_gone + ns_gone)) cookies put back, 0 skipped" "$scratch/out" || fail "undo printed $(cat "$scratch/out")"
[ "$(cd "$work/samples/ie" && md5sum -- * | sort)" = "$ie_sums" ] || fail "the Internet Explorer files did not come back byte for byte"
[ "$(ns_lines)" = "$ns_before_lines" ] || fail "the Netscape lines did not come back: $(diff <(echo "$ns_before_lines") <(ns_lines))"
head -1 "$ns" | grep -q '^# Netscape HTTP Cookie File' || fail "undo lost the Netscape header"
run -C "$work" undo; expect_status 0 "undo again"; grep -q "nothing to undo" "$scratch/err" || fail "undone twice: $(cat "$scratch/err")"
run -C "$work" undo 99; expect_status 1 "undo of an unknown id"
run -C "$work" undo --forget; expect_status 0 "undo --forget"
[ ! -e "$work/UNDO.DB" ] || fail "undo --forget left UNDO.DB"
printf '[Undo]\r\nKeep=0\r\n' >>"$work/Jarvane.INI"
run -C "$work" delete-all; expect_status 0 "delete-all with Keep=0"
grep -rqF --exclude-dir=samples -- "$value" "$work" && fail "a deleted cookie value remains with Keep=0: $(grep -rlF --exclude-dir=samples -- "$value" "$work")"
[ ! -e "$work/UNDO.DB" ] || fail "Keep=0 left UNDO.DB"

# A curl jar: the deleted cookies come back as curl sends them and Python reads them.
jar=$scratch/jar
mkdir -p "$jar" && cp "$root/tests/core/jars/curl.txt" "$jar/cookies.txt"
printf '[NS]\r\nLocation 1=%s\r\n' "$jar/cookies.txt" >"$jar/Location.DAT"
run -C "$jar" protect localhost; expect_status 0 "protect in the jar"
run -C "$jar" delete-all; expect_status 0 "delete-all in the jar"
grep -q sid "$jar/cookies.txt" && fail "delete-all left the jar's cookies"
run -C "$jar" undo; expect_status 0 "undo in the jar"
python3 - "$jar/cookies.txt" <<'PY' || fail "the jar after undo: curl or Python disagree"
import http.cookiejar, http.server, subprocess, sys, threading
jar = http.cookiejar.MozillaCookieJar(sys.argv[1])
jar.load(ignore_discard=True, ignore_expires=True)
sent = []
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        sent.append(self.headers.get("Cookie", ""))
        self.send_response(204); self.end_headers()
    def log_message(self, *args): pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
subprocess.run(["curl", "-s", "-b", sys.argv[1], f"http://127.0.0.1:{server.server_port}/"], check=True)
server.shutdown()
cookies = dict(c.split("=", 1) for c in sent[0].split("; "))
assert cookies.get("sid") == "s3cr3t" and cookies.get("plain") == "1", sent
assert len([c for c in jar if c.domain == "127.0.0.1"]) == 8, [c.name for c in jar]
PY

# Sites to keep: keep and unkeep write SITES.DAT only when the sites change; a
# refused entry is named and changes nothing; delete-all spares every cookie of
# a kept site in every store; a SITES.DAT that cannot be read stops it all.
sites=$scratch/sites
"$root/scripts/prepare-workdir.sh" "$sites" >/dev/null
sites_ns=$sites/samples/ns/cookies.txt
run -C "$sites" sites; expect_status 0 "sites with none kept"
[ ! -s "$scratch/out" ] && [ ! -e "$sites/SITES.DAT" ] || fail "sites with none kept: $(cat "$scratch/out")"
run -C "$sites" keep Example.COM co.uk; expect_status 1 "keep a public suffix"
one_error_naming "co.uk: is a public suffix"
[ ! -e "$sites/SITES.DAT" ] || fail "a refused entry wrote SITES.DAT"
# BleachBit's keep list as BleachBit writes it (json.dump of a list).
python3 -c 'import json, sys; json.dump(["www.Example.org", "*.example.NET"], open(sys.argv[1], "w"))' "$scratch/keep.json"
cd "$scratch" && run -C "$sites" keep --from keep.json .example.com && cd - >/dev/null
expect_status 0 "keep --from a JSON list named from the current folder"
[ "$(cat "$sites/SITES.DAT")" = $'example.com\r\nexample.net\r\nwww.example.org\r' ] || fail "SITES.DAT: $(cat -A "$sites/SITES.DAT")"
run -C "$sites" sites
[ "$(cat "$scratch/out")" = $'example.com\nexample.net\nwww.example.org' ] || fail "sites printed $(cat "$scratch/out")"
printf '["example.com", 7]' >"$scratch/bad.json"
printf '["example.com" "x.test"]' >"$scratch/nocomma.json"
printf '["a.example\\ud83d"]' >"$scratch/surrogate.json"
printf '["example.com"' >"$scratch/unfinished.json"
mkfifo "$scratch/fifo.json" && mkdir "$scratch/folder.json"
printf '# mine\n\nlocalhost\n  github.io\n' >"$scratch/keep.txt"
for from in bad.json nocomma.json surrogate.json unfinished.json fifo.json folder.json keep.txt; do
  run -C "$sites" keep --from "$scratch/$from"; expect_status 1 "keep --from $from"
  [ "$from" = keep.txt ] || one_error_naming "$scratch/$from"
done
[ "$(cat "$sites/SITES.DAT")" = $'example.com\r\nexample.net\r\nwww.example.org\r' ] || fail "a refused keep list changed SITES.DAT"
grep -qF "github.io: is a public suffix" "$scratch/err" || fail "keep --from keep.txt: $(cat "$scratch/err")"
run -C "$sites" unkeep WWW.example.org nope.test; expect_status 1 "unkeep an unknown site"
one_error_naming "nope.test"
run -C "$sites" unkeep WWW.example.org; expect_status 0 unkeep
[ "$(cat "$sites/SITES.DAT")" = $'example.com\r\nexample.net\r' ] || fail "after unkeep: $(cat -A "$sites/SITES.DAT")"
run -C "$sites" list
[ "$(grep -c $'\tKept\t' "$scratch/out")" -eq "$(grep -c 'example\.\(com\|net\)' "$scratch/out")" ] || fail "list shows no Kept rows: $(cat "$scratch/out")"
kept_before=$(grep -c 'example\.\(com\|net\)' "$scratch/out")
rm "$sites/SITES.DAT" && mkdir "$sites/SITES.DAT"
stores_before=$(snapshot "$sites/samples")
run -C "$sites" delete-all; expect_status 3 "delete-all with SITES.DAT unreadable"
grep -qF "$sites/SITES.DAT: cannot be read" "$scratch/err" || fail "delete-all did not name SITES.DAT: $(cat "$scratch/err")"
[ "$(snapshot "$sites/samples")" = "$stores_before" ] || fail "a cookie was deleted while SITES.DAT could not be read"
run -C "$sites" keep example.org; expect_status 3 "keep with SITES.DAT unreadable"
[ -d "$sites/SITES.DAT" ] || fail "an unreadable SITES.DAT was replaced"
rmdir "$sites/SITES.DAT" && run -C "$sites" keep example.com example.net; expect_status 0 "keep again"
if [ "$(id -u)" -eq 0 ]; then # a SITES.DAT its user may not read, as nobody (root reads anything)
  chmod 755 "$scratch" && chown -R 65534:65534 "$sites" && chown 0:0 "$sites/SITES.DAT" && chmod 000 "$sites/SITES.DAT"
  stores_before=$(snapshot "$sites/samples")
  setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" -C "$sites" delete-all >"$scratch/out" 2>"$scratch/err"; status=$?
  expect_status 3 "delete-all as nobody with SITES.DAT at mode 000"
  [ "$(snapshot "$sites/samples")" = "$stores_before" ] || fail "a cookie was deleted while SITES.DAT could not be read by its user"
  chmod 644 "$sites/SITES.DAT"
fi
run -C "$sites" delete-all; expect_status 0 "delete-all with sites kept"
run -C "$sites" list
[ "$(grep -c . "$scratch/out")" -eq "$kept_before" ] && ! grep -qv $'\tKept\t' "$scratch/out" ||
  fail "delete-all did not leave exactly the kept sites: $(cat "$scratch/out")"
grep -q $'^\\.example\\.com\t' "$sites_ns" && grep -qx $'example.com/\r' -r "$sites/samples/ie" || fail "kept cookies left the disk"

# A protection list that cannot be written: exit 3 naming it.
rm "$work/NSPROT.DAT" && mkdir "$work/NSPROT.DAT"
run -C "$work" unprotect .example.com; expect_status 3 "unwritable NSPROT.DAT"
one_error_naming "$work/NSPROT.DAT"
rmdir "$work/NSPROT.DAT"

# A store that cannot be changed: exit 3 naming each file that still holds a
# deleted cookie, which is not counted; the other browser's deletions are.
as_user=()
[ "$(id -u)" -eq 0 ] && chmod 755 "$scratch" && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
delete_all_with_readonly() { # store folder (relative to the working folder)...
  local folder=$scratch/readonly
  rm -rf "$folder" && "$root/scripts/prepare-workdir.sh" "$folder" >/dev/null
  [ ${#as_user[@]} -gt 0 ] && chown -R 65534:65534 "$folder"
  for store in "$@"; do
    [ ${#as_user[@]} -gt 0 ] && chown -R 0:0 "$folder/$store"
    chmod -R a-w "$folder/$store"
  done
  "${as_user[@]}" "$cli" -C "$folder" delete-all >"$scratch/out" 2>"$scratch/err"; status=$?
  expect_status 3 "delete-all with $* read-only"
}
delete_all_with_readonly samples/ie
grep -qx $'Internet Explorer\t0' "$scratch/out" || fail "undeleted cookies counted: $(cat "$scratch/out")"
grep -q $'Netscape Browser\t[1-9]' "$scratch/out" || fail "the Netscape deletions not counted"
[ "$(grep -c "$scratch/readonly/samples/ie/.*still there" "$scratch/err")" -eq "$(ls "$scratch/readonly/samples/ie" | wc -l)" ] ||
  fail "each cookie file left should be named: $(cat "$scratch/err")"
delete_all_with_readonly samples/ns
grep -qx $'Netscape Browser\t0' "$scratch/out" || fail "undeleted cookies counted: $(cat "$scratch/out")"
grep -q $'Internet Explorer\t[1-9]' "$scratch/out" || fail "the Internet Explorer deletions not counted"
one_error_naming "$scratch/readonly/samples/ns/cookies.txt"
chmod -R u+w "$scratch/readonly"

# A protection list that exists but cannot be read (a folder, a FIFO, mode 000
# for an unprivileged user): delete-all deletes no cookie of its browser,
# names it, exits 3 and counts only what left the disk; the list is not
# written over; list shows those rows "Unknown".
unreadable_list() { # how: dir, fifo or mode000
  local folder=$scratch/unreadable
  rm -rf "$folder" && "$root/scripts/prepare-workdir.sh" "$folder" >/dev/null
  printf '.example.com\r\n' >"$folder/NSPROT.DAT"
  local before
  before=$(md5sum <"$folder/samples/ns/cookies.txt")
  case $1 in
    dir) rm "$folder/NSPROT.DAT" && mkdir "$folder/NSPROT.DAT" ;;
    fifo) rm "$folder/NSPROT.DAT" && mkfifo "$folder/NSPROT.DAT" ;;
    mode000) chmod 000 "$folder/NSPROT.DAT" ;;
  esac
  [ ${#as_user[@]} -gt 0 ] && chown -R 65534:65534 "$folder"
  "${as_user[@]}" "$cli" -C "$folder" list >"$scratch/out" 2>"$scratch/err"
  [ "$(awk -F'\t' '$3 == "Netscape Browser" && $2 != "Unknown"' "$scratch/out")" = "" ] &&
    grep -q $'\tUnknown\tNetscape Browser$' "$scratch/out" || fail "$1: list shows Netscape rows as known: $(cat "$scratch/out")"
  "${as_user[@]}" "$cli" -C "$folder" delete-all >"$scratch/out" 2>"$scratch/err"; status=$?
  expect_status 3 "delete-all with NSPROT.DAT $1"
  one_error_naming "$folder/NSPROT.DAT"
  grep -q "no cookie of Netscape Browser was deleted" "$scratch/err" || fail "$1: $(cat "$scratch/err")"
  grep -qx $'Netscape Browser\t0' "$scratch/out" && grep -q $'Internet Explorer\t[1-9]' "$scratch/out" ||
    fail "$1: delete-all printed $(cat "$scratch/out")"
  [ "$(md5sum <"$folder/samples/ns/cookies.txt")" = "$before" ] || fail "$1: Netscape cookies were deleted"
  case $1 in
    dir) [ -d "$folder/NSPROT.DAT" ] ;;
    fifo) [ -p "$folder/NSPROT.DAT" ] ;;
    mode000) [ "$(stat -c %a "$folder/NSPROT.DAT")" = 0 ] && [ "$(cat "$folder/NSPROT.DAT")" = $'.example.com\r' ] ;;
  esac || fail "$1: NSPROT.DAT was written over"
}
for how in dir fifo mode000; do unreadable_list "$how"; done

# find: the discovery in a Wine prefix; --save makes a Location.DAT that
# locations and list read.
prefix=$scratch/prefix
mkdir -p "$prefix/dosdevices" "$prefix/drive_c/windows/Cookies" "$prefix/drive_c/ns"
ln -s ../drive_c "$prefix/dosdevices/c:"
cp "$root/samples/ie/"* "$prefix/drive_c/windows/Cookies/"
cp "$root/samples/ns/cookies.txt" "$prefix/drive_c/ns/"
printf '[Software\\\\Netscape\\\\Netscape Navigator\\\\Cookies] 1700000000\n"Cookie File"="C:\\\\ns\\\\cookies.txt"\n' >"$prefix/user.reg"
export WINEPREFIX=$prefix HOME=$scratch/nohome
found=$scratch/found
run -C "$found" find; expect_status 0 find
[ ! -e "$found" ] || fail "find without --save wrote something"
[ "$(cat "$scratch/out")" = $'Internet Explorer\t'"$prefix/drive_c/windows/Cookies"$'\nNetscape Browser\t'"$prefix/drive_c/ns/cookies.txt" ] ||
  fail "find printed: $(cat "$scratch/out")"
expected=$(cat "$scratch/out")
run -C "$found" find --save; expect_status 0 "find --save"
run -C "$found" locations; expect_status 0 locations
[ "$(cat "$scratch/out")" = "$expected" ] || fail "locations after find --save: $(cat "$scratch/out")"
run -C "$found" list; expect_status 0 "list after find --save"
[ "$(cat "$scratch/err")" = "$rows cookies" ] || fail "list after find --save: $(cat "$scratch/err")"

# The Firefox and Chromium databases of a home the browsers wrote: find --save
# remembers them, a protected host keeps all its rows through delete-all.
# The Wine prefix above stays set: its registry names the Netscape file, so no
# drive of this machine is searched.
home=$scratch/browsers dbs=$scratch/dbs
cp -r "$root/tests/fixtures/browsers/home" "$home"
ff=$(echo "$home"/.config/mozilla/firefox/*/cookies.sqlite) cr=$home/.config/chromium/Default/Cookies
HOME=$home run -C "$dbs" find --save; expect_status 0 "find --save with browser profiles"
grep -qx $'Firefox\t'"$ff" "$scratch/out" && grep -qx $'Chromium\t'"$cr" "$scratch/out" || fail "find printed: $(cat "$scratch/out")"
run -C "$dbs" locations
[ "$(tr -d '\r' <"$dbs/Location.DAT" | grep -A1 -x '\[FF\]\|\[CR\]' | grep -c '^Location 1=')" -eq 2 ] &&
  grep -qx $'Firefox\t'"$ff" "$scratch/out" && grep -qx $'Chromium\t'"$cr" "$scratch/out" || fail "locations printed: $(cat "$scratch/out")"
run -C "$dbs" list
[ "$(cut -f3 "$scratch/out" | grep -x 'Firefox\|Chromium' | sort | uniq -c | tr -s ' ')" = $' 6 Chromium\n 6 Firefox' ] || fail "list of the databases: $(cat "$scratch/out")"
# list --long: the details as further columns, never a value.
TZ=UTC run -C "$dbs" list --long; expect_status 0 "list --long"
grep -qxF "$(printf 'gamma.test\t\tFirefox\t%s\tjk45xpu8.work\tgamma.test\tcart\t/\t2027-12-07 12:57:48 UTC\tno\tno\t2' "$ff")" "$scratch/out" &&
  grep -qxF "$(printf 'gamma.test\t\tChromium\t%s\tDefault\tgamma.test\tcart\t/\t2027-12-07 12:57:50 UTC\tno\tno\t51 encrypted' "$cr")" "$scratch/out" ||
  fail "list --long of the databases: $(grep cart "$scratch/out")"
[ "$(awk -F'\t' 'NF != 12' "$scratch/out")" = "" ] || fail "list --long lines without 12 fields"
while read -r value; do
  cut -f4- "$scratch/out" | grep -qF -- "$(printf '\t%s\t' "$value")" && fail "list --long printed a value: $value"
done < <(sqlite3 "$ff" 'SELECT value FROM moz_cookies')
TZ=UTC run -C "$work" list --long
grep -qF "a81f3c9d20e4" "$scratch/out" && fail "list --long printed an Internet Explorer cookie's value"
grep -qF "$(printf '\tsession_id\t/\t2001-04-23 ')" "$scratch/out" || fail "list --long of the Internet Explorer samples: $(head -n 3 "$scratch/out")"
run -C "$dbs" protect gamma.test; expect_status 0 "protect a database host"
grep -qx $'gamma.test\r' "$dbs/FFPROT.DAT" && grep -qx $'gamma.test\r' "$dbs/CRPROT.DAT" || fail "FFPROT.DAT/CRPROT.DAT lack gamma.test"
ln -s "$(hostname)-$$" "$home/.config/chromium/SingletonLock" # a running Chromium: its cookies stay
run -C "$dbs" delete-all; expect_status 0 "delete-all beside a running Chromium"
# The third field counts the cookies a running browser kept.
[ "$(grep -A1 ^Firefox "$scratch/out")" = $'Firefox\t3\nChromium\t0\t3' ] || fail "delete-all beside a running Chromium printed $(cat "$scratch/out")"
rm "$home/.config/chromium/SingletonLock"
run -C "$dbs" delete-all; expect_status 0 "delete-all of the databases"
[ "$(grep -A1 ^Firefox "$scratch/out")" = $'Firefox\t0\nChromium\t3' ] || fail "delete-all after Chromium closed printed $(cat "$scratch/out")"
[ "$(sqlite3 "$ff" 'SELECT host, count(*) FROM moz_cookies GROUP BY host'
     sqlite3 "$cr" 'SELECT host_key, count(*) FROM cookies GROUP BY host_key')" = $'gamma.test|3\ngamma.test|3' ] || fail "delete-all left other rows than gamma.test's"

# locations add / remove: the browser is told from the content; a path that is
# not a cookie store, or not remembered, is named and nothing changes.
edit=$scratch/edit jars=$root/tests/core/jars
run -C "$edit" locations add "$jars/wget.txt" "$ff" "$cr" "$root/samples/ie/"; expect_status 0 "locations add"
(cd "$jars" && "$cli" -C "$edit" locations add curl.txt >/dev/null) || fail "locations add of a relative path"
run -C "$edit" locations
[ "$(cat "$scratch/out")" = "Internet Explorer	$root/samples/ie
Netscape Browser	$jars/wget.txt
Netscape Browser	$jars/curl.txt
Firefox	$ff
Chromium	$cr" ] || fail "locations after add: $(cat "$scratch/out")"
before=$(snapshot "$edit")
for refused in "add $jars/python.txt $root/README.md:not a cookie file" \
               "add $scratch/nothing:does not exist" "remove $cr $scratch/nothing:not a remembered location"; do
  run -C "$edit" locations ${refused%%:*}; expect_status 1 "locations ${refused%%:*}"
  one_error_naming "${refused#*:}"
done
[ "$(snapshot "$edit")" = "$before" ] || fail "a refused add or remove changed files"
run -C "$edit" locations remove "$ff" "$root/samples/ie"; expect_status 0 "locations remove"
run -C "$edit" locations
[ "$(cut -f1 "$scratch/out" | uniq -c | tr -s ' ')" = $' 2 Netscape Browser\n 1 Chromium' ] || fail "locations after remove: $(cat "$scratch/out")"
run -C "$scratch/empty" locations remove "$ff"; expect_status 2 "locations remove without Location.DAT"
run -C "$edit" locations add; expect_status 1 "locations add without a path"

# Every home of a Flatpak, Snap or XDG install is found; profiles.ini numbers
# may have gaps.
homes=$scratch/homes xdg=$scratch/homes/xdg
for base in .config/mozilla/firefox xdg/mozilla/firefox snap/firefox/common/.mozilla/firefox \
  .var/app/org.mozilla.firefox/.mozilla/firefox .var/app/org.mozilla.firefox/config/mozilla/firefox; do
  mkdir -p "$homes/$base/p" && cp "$ff" "$homes/$base/p/cookies.sqlite"
  printf '[Profile2]\r\nPath=p\r\n' >"$homes/$base/profiles.ini"
done
for data in xdg/chromium .var/app/org.chromium.Chromium/config/chromium .var/app/com.google.Chrome/config/google-chrome \
  .var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser .var/app/com.microsoft.Edge/config/microsoft-edge \
  snap/chromium/common/chromium snap/brave/current/.config/BraveSoftware/Brave-Browser; do
  mkdir -p "$homes/$data/Default" && cp "$cr" "$homes/$data/Default/Cookies"
done
HOME=$homes XDG_CONFIG_HOME=$xdg run -C "$scratch/homes-dat" find
[ "$(cut -f1 "$scratch/out" | grep -x 'Firefox\|Chromium' | sort | uniq -c | tr -s ' ')" = $' 7 Chromium\n 5 Firefox' ] ||
  fail "find in every home printed: $(cat "$scratch/out")"

# find --save searches without holding the folder, so that a window started
# meanwhile opens at once, and holds it only to write Location.DAT. Its output
# goes to a pipe filled beforehand: it stops at printing what it found, after
# the search and before the writing, and the folder must be free there.
saved=$scratch/saved
mkfifo "$scratch/find-out"
exec 3<>"$scratch/find-out"
head -c 65536 /dev/zero >&3
env -u WINEPREFIX HOME="$scratch/nohome" "$cli" -C "$saved" find --save >&3 2>/dev/null &
finder=$! stopped=0
for _ in $(seq 600); do
  case "$(cat "/proc/$finder/wchan" 2>/dev/null)" in *pipe_write*) stopped=1 && break ;; esac
  sleep 0.1
done
[ "$stopped" = 1 ] && [ ! -e "$saved/Location.DAT" ] && flock -n -s "$saved" true ||
  fail "find --save held the folder between its search and its writing"
cat <&3 >/dev/null &
drain=$!
wait $finder
status=$?
kill $drain
exec 3>&-
expect_status 0 "find --save"
[ -s "$saved/Location.DAT" ] || fail "find --save wrote no Location.DAT"

[ "$failures" -eq 0 ] || exit 1
echo "ok"
