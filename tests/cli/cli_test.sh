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
for args in "" "frobnicate" "-C" "list --sort size" "protect" "find --force" "-x list"; do
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
run -C "$work" unprotect example.org/; expect_status 0 unprotect
grep -q example.org "$work/IEPROT.DAT" && fail "unprotect left example.org/ in IEPROT.DAT"
run -C "$work" list
[ "$(grep -c $'\tProtected\t' "$scratch/out")" -eq "$(grep -c . "$work/IEPROT.DAT" "$work/NSPROT.DAT" | awk -F: '{ n += $2 } END { print n }')" ] ||
  fail "list does not show the saved marks"

# delete-all: counts per browser match what left the disk; protected cookies stay.
ie_before=$(ls "$work/samples/ie" | wc -l)
ns_before=$(grep -c $'\t' "$ns")
site_before=$(grep -c $'^\\.example\\.com\t' "$ns")
run -C "$work" delete-all; expect_status 0 delete-all
ie_gone=$((ie_before - $(ls "$work/samples/ie" | wc -l)))
ns_gone=$((ns_before - $(grep -c $'\t' "$ns")))
[ "$(cat "$scratch/out")" = $'Internet Explorer\t'"$ie_gone"$'\nNetscape Browser\t'"$ns_gone" ] ||
  fail "delete-all printed $(cat "$scratch/out"); $ie_gone and $ns_gone left the disk"
[ "$ie_gone" -gt 0 ] && [ "$ns_gone" -gt 0 ] || fail "delete-all deleted nothing"
[ "$(grep -c $'^\\.example\\.com\t' "$ns")" -eq "$site_before" ] || fail "protected Netscape cookies were deleted"
grep -rqx $'example.com/\r' "$work/samples/ie" || fail "the protected Internet Explorer cookie was deleted"
grep -qx $'.example.com\r' "$work/NSPROT.DAT" || fail "delete-all lost a mark"

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
[ "$(grep -A1 ^Firefox "$scratch/out")" = $'Firefox\t3\nChromium\t0' ] || fail "delete-all beside a running Chromium printed $(cat "$scratch/out")"
rm "$home/.config/chromium/SingletonLock"
run -C "$dbs" delete-all; expect_status 0 "delete-all of the databases"
[ "$(grep -A1 ^Firefox "$scratch/out")" = $'Firefox\t0\nChromium\t3' ] || fail "delete-all after Chromium closed printed $(cat "$scratch/out")"
[ "$(sqlite3 "$ff" 'SELECT host, count(*) FROM moz_cookies GROUP BY host'
     sqlite3 "$cr" 'SELECT host_key, count(*) FROM cookies GROUP BY host_key')" = $'gamma.test|3\ngamma.test|3' ] || fail "delete-all left other rows than gamma.test's"

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

[ "$failures" -eq 0 ] || exit 1
echo "ok"
