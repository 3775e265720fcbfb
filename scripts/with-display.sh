#!/usr/bin/env bash
# Runs a command on a virtual display that has a notification area (Xvfb and
# trayer), as the GUI tests need. Used as: with-display.sh COMMAND [ARGS...]
# Fails without running the command when no notification area comes.
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)

# -noreset: by default Xvfb resets whenever its last client leaves, and a
# client connecting meanwhile (trayer while a poll below disconnects) is
# refused: "cannot open display".
if [ -z "${JARVANE_INNER_DISPLAY:-}" ]; then
  export JARVANE_INNER_DISPLAY=1
  exec xvfb-run -a -s '-screen 0 1600x1200x24 -noreset' "$0" "$@"
fi

tray_log=$(mktemp)
trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel \
  --height 32 --transparent false >"$tray_log" 2>&1 &
tray_pid=$!
trap 'kill $tray_pid 2>/dev/null || true; rm -f "$tray_log"' EXIT
tray_failed() {
  echo "with-display.sh: $1; trayer's output:" >&2
  sed 's/^/  /' "$tray_log" >&2
}
# Icons dock only once trayer owns the notification area's selection, which
# takes seconds on a loaded machine; its window alone is not enough.
deadline=$((SECONDS + 60))
until "$scripts/has-notification-area.py"; do
  if ! kill -0 $tray_pid 2>/dev/null; then
    tray_failed "trayer ended before it provided a notification area"
    exit 1
  elif [ $SECONDS -ge $deadline ]; then
    tray_failed "no notification area after 60 s"
    exit 1
  fi
  sleep 0.1
done
status=0
"$@" || status=$?
if ! kill -0 $tray_pid 2>/dev/null; then
  tray_failed "trayer ended while the command ran, so later tests had no notification area"
fi
exit $status
