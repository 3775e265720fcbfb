#!/usr/bin/env bash
# Started without a display, the program says so in one line on standard error,
# writes nothing in its working folder and exits with a failure code.
# Used as: no_display_test.sh PATH-TO-JARVANE
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
env -u DISPLAY -u WAYLAND_DISPLAY "$1" >out.txt 2>err.txt </dev/null
status=$?
fail() { echo "FAIL: $*"; echo "stderr:"; cat err.txt; exit 1; }
[ "$status" -ne 0 ] || fail "exit code 0"
[ "$(wc -l <err.txt)" -eq 1 ] || fail "expected one line"
grep -q "cannot open a display" err.txt || fail "no clear message"
[ ! -s out.txt ] || fail "something on standard output"
[ "$(ls | wc -l)" -eq 2 ] || fail "files were written: $(ls)"
echo "ok: $(cat err.txt)"
