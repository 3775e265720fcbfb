#!/usr/bin/env bash
# Runs a command on a virtual display that has a notification area (Xvfb and
# trayer), as the GUI tests need. Used as: with-display.sh COMMAND [ARGS...]
set -euo pipefail

if [ -z "${JARVANE_INNER_DISPLAY:-}" ]; then
  export JARVANE_INNER_DISPLAY=1
  exec xvfb-run -a -s '-screen 0 1600x1200x24' "$0" "$@"
fi

trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel \
  --height 32 --transparent false >/dev/null 2>&1 &
tray_pid=$!
trap 'kill $tray_pid 2>/dev/null || true' EXIT
# Wait until the tray owns its selection, so tray icons really dock.
for _ in $(seq 1 50); do
  if xdotool search --classname trayer >/dev/null 2>&1; then break; fi
  sleep 0.1
done
"$@"
