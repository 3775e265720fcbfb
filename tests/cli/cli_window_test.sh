#!/usr/bin/env bash
# jarvane-cli and the window program on one working folder: marks set by one are
# seen by the other, and while the window runs the tool refuses to change the
# folder (exit status 4) and leaves every file as it was.
# Used as: cli_window_test.sh PATH-TO-JARVANE PATH-TO-JARVANE-CLI
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
program=$(realpath "$1") cli=$(realpath "$2")
scratch=$(mktemp -d)
window_pid=
trap '[ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
work=$scratch/work
"$root/scripts/prepare-workdir.sh" "$work" >/dev/null
snapshot() { (cd "$work" && find . -type f -exec md5sum {} + | sort); }

"$cli" -C "$work" protect example.com/ || fail "protect"
# The row the window selects first is the first row the tool lists.
first=$("$cli" -C "$work" list 2>/dev/null | head -n 1 | cut -f1)
[ -n "$first" ] && [ "$first" != example.com/ ] || fail "first row: '$first'"

start_window() {
  (cd "$work" && exec "$program") &
  window_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Jarvane 1\.0$' | head -n 1)
  [ -n "$window" ] || fail "the window did not open"
}
close_window() { # presses keys in the window, then Exit
  xdotool windowfocus --sync "$window" && sleep 0.3
  for key in "$@" alt+x; do xdotool key "$key"; sleep 0.3; done
  timeout 20 tail --pid="$window_pid" -f /dev/null || fail "the window did not close"
  wait "$window_pid"
  window_pid=
}

start_window
before=$(snapshot)
for command in "delete-all" "protect $first" "unprotect example.com/" "list" \
               "locations add $root/tests/core/jars/wget.txt" "locations remove $work/samples/ie" \
               "keep example.com" "unkeep example.com"; do
  "$cli" -C "$work" $command >/dev/null 2>"$scratch/err"
  status=$?
  [ "$status" -eq 4 ] || fail "'$command' beside the window: exit status $status"
  grep -q "in use" "$scratch/err" || fail "no message: $(cat "$scratch/err")"
done
"$cli" -C "$work" locations >/dev/null || fail "locations is refused beside the window"
[ "$(snapshot)" = "$before" ] || fail "the tool changed files while the window ran"

# Protect, in the window, the row it selects first; Exit saves the marks.
close_window alt+p
grep -qx $'example.com/\r' "$work/IEPROT.DAT" || fail "the window dropped the tool's mark"
"$cli" -C "$work" list >"$scratch/out" 2>/dev/null || fail "list after the window closed"
grep -qF "$first"$'\tProtected\t' "$scratch/out" || fail "the window's mark on $first is not seen"
"$cli" -C "$work" delete-all >/dev/null || fail "delete-all after the window closed"
"$cli" -C "$work" list >"$scratch/out" 2>/dev/null
! grep -qv $'\tProtected\t' "$scratch/out" || fail "unprotected cookies left: $(cat "$scratch/out")"
echo "ok"
