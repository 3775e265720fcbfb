#!/usr/bin/env bash
# Drives the built program from outside, as a user does: started in a scratch
# working folder on a virtual display with a notification area, pressed with
# real keys and clicks (xdotool), judged by the files on disk and by whether
# the process still runs.
# Used as: program_test.sh PATH-TO-JARVANE CASE (CASE is one of the functions
# named case_* below). Without a display it starts one (scripts/with-display.sh).
set -u
program=$(realpath "$1")
case_name=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
# The notification-area cases run on a display of their own, where they start
# trayer themselves (-noreset: see scripts/with-display.sh).
if [[ $case_name == tray_* ]] && [ -z "${JARVANE_E2E_BARE:-}" ]; then
  JARVANE_E2E_BARE=1 exec xvfb-run -a -s '-screen 0 1600x1200x24 -noreset' "$0" "$@"
elif [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi

scratch=$(mktemp -d)
work=$scratch/work
pid=
tray_pid=
others=()
cleanup() {
  [ -n "$pid" ] && { kill -9 "$pid" && wait "$pid"; } 2>/dev/null
  for other in "${others[@]}"; do kill -9 "$other" && wait "$other"; done 2>/dev/null
  [ -n "$tray_pid" ] && kill "$tray_pid"
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($case_name): $*"
  [ -s "$scratch/out.txt" ] && head -n 5 "$scratch/out.txt" | sed 's/^/  output: /'
  exit 1
}

# Starts COMMAND [ARGS...] (the program, or a launcher that runs it) in the
# working folder, with a home of its own.
start() {
  mkdir -p "$scratch/home" "$work"
  (cd "$work" && exec env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" \
    XDG_CACHE_HOME="$scratch/home/.cache" XDG_DATA_HOME="$scratch/home/.local/share" \
    "$@" >"$scratch/out.txt" 2>&1) &
  pid=$!
}
running() { kill -0 "$pid" 2>/dev/null; }
# Sets found to the program's visible window with exactly this title, waiting
# up to SECONDS for it; fails when there is none.
# A search is repeated rather than left to --sync: xdotool gives up when a
# window it looks at is destroyed meanwhile (the folder wait window closing).
wait_window() { # title seconds
  found=
  find_window() {
    found=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$found" ]
  }
  wait_until "$2" find_window "$1" ||
    fail "no window \"$1\"$(running || echo '; the program ended')"
}
press() { # window keys...
  local window=$1
  shift
  timeout 5 xdotool windowfocus --sync "$window" && xdotool key --clearmodifiers "$@"
}
wait_until() { # seconds command...
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt $deadline ] || return 1
    sleep 0.1
  done
}
wait_exit() { wait_until "$1" eval '! running'; } # seconds
main_window() { wait_window "Jarvane 1.0" "${1:-15}"; }
# Exit pressed in the main window ends the program at once.
exit_program() { # window
  press "$1" alt+x
  wait_exit 10 || fail "Exit did not end the program"
}
# The repository's sample stores in the working folder, as the run command has them.
sample_workdir() {
  "$root/scripts/prepare-workdir.sh" "$work" >/dev/null || fail "cannot prepare $work"
}
crlf_lines() { printf '%s\r\n' "$@"; }

case_first_run_cancelled() {
  start "$program"
  wait_window "Find Cookie Location" 15
  press "$found" Escape
  wait_exit 10 || fail "cancelling the dialog did not end the program"
  [ -z "$(ls -A "$work")" ] || fail "files were written: $(ls -A "$work")"
}

# One cookie of each browser protected: Delete All leaves exactly those two, and
# Exit writes the protection lists again from the records (a stale line goes).
case_delete_all_keeps_protected() {
  sample_workdir
  crlf_lines "no.such.cookie/" "mail.example.org/" >"$work/IEPROT.DAT"
  crlf_lines ".weather.example.net" >"$work/NSPROT.DAT"
  start "$program"
  main_window
  local window=$found
  press "$window" alt+a
  wait_window "Jarvane Confirmation" 10
  press "$found" Return
  ie_left() { [ "$(ls "$work/samples/ie" | wc -l)" -eq 1 ]; }
  wait_until 15 ie_left || fail "Internet Explorer cookies left: $(ls "$work/samples/ie")"
  [ -f "$work/samples/ie/anonymous@mail.example.org[1].txt" ] || fail "the wrong cookie file stayed"
  ns_left() { [ "$(grep -cv '^#\|^$' "$work/samples/ns/cookies.txt")" -eq 1 ]; }
  wait_until 10 ns_left || fail "cookies.txt holds: $(grep -v '^#' "$work/samples/ns/cookies.txt")"
  grep -q '^\.weather\.example\.net	' "$work/samples/ns/cookies.txt" || fail "the wrong line stayed"
  running || fail "the program ended"
  exit_program "$window"
  cmp -s "$work/IEPROT.DAT" <(crlf_lines "mail.example.org/") ||
    fail "IEPROT.DAT: $(cat -A "$work/IEPROT.DAT")"
  cmp -s "$work/NSPROT.DAT" <(crlf_lines ".weather.example.net") ||
    fail "NSPROT.DAT: $(cat -A "$work/NSPROT.DAT")"
}

# Keep Site from the context menu of the first row (a right-click on it, then
# the keyboard): SITES.DAT holds that row's site, and Delete All leaves exactly
# its cookies, of both browsers.
case_keep_site() {
  sample_workdir
  start "$program"
  main_window
  local window=$found
  timeout 5 xdotool windowfocus --sync "$window"
  xdotool mousemove --window "$window" 190 138 click 3
  sleep 0.5
  # The menu: Delete, Change Protection, a separator, Keep Site.
  xdotool key --clearmodifiers Down Down Down Return
  wait_window "Jarvane Sites to Keep" 10
  press "$found" Return
  cmp -s "$work/SITES.DAT" <(crlf_lines "example.com") || fail "SITES.DAT: $(cat -A "$work/SITES.DAT" 2>&1)"
  press "$window" alt+a
  wait_window "Jarvane Confirmation" 10
  press "$found" Return
  site_left() {
    [ "$(grep -cv '^#\|^$' "$work/samples/ns/cookies.txt")" -eq "$(grep -c 'example\.com' "$work/samples/ns/cookies.txt")" ] &&
      [ "$(ls "$work/samples/ie" | grep -vc 'example\.com\[')" -eq 0 ]
  }
  wait_until 15 site_left || fail "left: $(ls "$work/samples/ie") $(grep -v '^#' "$work/samples/ns/cookies.txt")"
  [ "$(ls "$work/samples/ie" | wc -l)" -gt 0 ] && grep -q '^\.example\.com	' "$work/samples/ns/cookies.txt" ||
    fail "the kept site's cookies were deleted"
  exit_program "$window"
}

# NSPROT.DAT is a folder, so what it protects is unknown: Delete All deletes
# the Internet Explorer cookies, no Netscape cookie, says so naming the file,
# and Exit leaves the folder in place.
case_unreadable_protection_list() {
  sample_workdir
  mkdir "$work/NSPROT.DAT"
  cp "$work/samples/ns/cookies.txt" "$scratch/before.txt"
  start "$program"
  main_window
  local window=$found
  press "$window" alt+a
  wait_window "Jarvane Confirmation" 10
  press "$found" Return
  # xdotool matches names ignoring case: the tray icon's "jarvane" is not the box.
  message_box() {
    local w
    for w in $(xdotool search --all --onlyvisible --pid "$pid" --name '^Jarvane$'); do
      eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
      [ "${WIDTH:-0}" -gt 64 ] && echo "$w" && return 0
    done
    return 1
  }
  local box
  box=$(wait_until 15 message_box) || fail "no message names the unreadable list"
  press "$box" Return
  ie_gone() { [ -z "$(ls "$work/samples/ie")" ]; }
  wait_until 10 ie_gone || fail "Internet Explorer cookies left: $(ls "$work/samples/ie")"
  cmp -s "$work/samples/ns/cookies.txt" "$scratch/before.txt" || fail "Netscape cookies were deleted"
  exit_program "$window"
  [ -d "$work/NSPROT.DAT" ] || fail "NSPROT.DAT was written over"
}
hidden() { [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^Jarvane 1.0$')" ]; }
# The icon is the program's one small visible window (docked in trayer).
tray_icon() {
  for w in $(xdotool search --all --onlyvisible --pid "$pid" --name ''); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
    if [ "${WIDTH:-99}" -le 64 ] && [ "${HEIGHT:-99}" -le 64 ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
# Tray Only (Alt+T) hides the window and keeps the program; a click on its icon
# in the notification area brings the window back. The limits are generous:
# a loaded machine takes seconds, and each wait ends as soon as its condition holds.
tray_only_and_back() { # window
  press "$1" alt+t
  wait_until 20 hidden || fail "the window stayed"
  sleep 0.5
  running || fail "Tray Only ended the program"
  local icon
  icon=$(wait_until 30 tray_icon) || fail "no icon in the notification area"
  xdotool mousemove --window "$icon" 8 8 click 1
  main_window 30
}

# Returns once trayer owns the notification area, so that icons dock at once.
start_tray() {
  trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel \
    --height 32 --transparent false >"$scratch/tray.txt" 2>&1 &
  tray_pid=$!
  wait_until 60 "$root/scripts/has-notification-area.py" ||
    fail "trayer provided no notification area: $(cat "$scratch/tray.txt")"
}

case_tray_only() {
  sample_workdir
  start_tray
  start "$program"
  main_window
  wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
  tray_only_and_back "$found"
  exit_program "$found"
}

# The icon's menu: the program's one visible window of menu size.
tray_menu_window() {
  for w in $(xdotool search --all --onlyvisible --pid "$pid" --name ''); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
    if [ "${HEIGHT:-0}" -ge 50 ] && [ "${HEIGHT:-0}" -le 200 ] && [ "${WIDTH:-999}" -le 400 ]; then
      echo "$w $HEIGHT"
      return 0
    fi
  done
  return 1
}
# Right-click on the icon, then a click on the menu's item N of 3 (Show
# Jarvane, Delete All, Exit).
tray_menu_item() { # n
  local icon menu height
  icon=$(wait_until 10 tray_icon) || fail "no icon in the notification area"
  xdotool mousemove --window "$icon" 8 8 click 3
  read -r menu height < <(wait_until 10 tray_menu_window) || fail "no menu on a right-click"
  sleep 0.2
  xdotool mousemove --window "$menu" 30 $((height * (2 * $1 - 1) / 6)) click 1
}

# The icon's menu: Show Jarvane brings back the hidden window, Delete All asks
# and leaves the protected cookies, Exit ends the program and writes the marks.
case_tray_menu() {
  sample_workdir
  crlf_lines "mail.example.org/" >"$work/IEPROT.DAT"
  start_tray
  start "$program"
  main_window
  wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
  press "$found" alt+t
  wait_until 20 hidden || fail "Tray Only left the window"
  tray_menu_item 1
  main_window 10
  tray_menu_item 2
  wait_window "Jarvane Confirmation" 10
  press "$found" Return
  ie_left() { [ "$(ls "$work/samples/ie" | wc -l)" -eq 1 ]; }
  wait_until 15 ie_left || fail "Internet Explorer cookies left: $(ls "$work/samples/ie")"
  rm "$work/IEPROT.DAT"
  tray_menu_item 3
  wait_exit 10 || fail "Exit from the icon's menu did not end the program"
  cmp -s "$work/IEPROT.DAT" <(crlf_lines "mail.example.org/") ||
    fail "IEPROT.DAT after Exit: $(cat -A "$work/IEPROT.DAT" 2>&1)"
}

# Without a notification area Tray Only leaves the window alone; once one
# appears, Tray Only works.
case_tray_only_follows_notification_area() {
  sample_workdir
  start "$program"
  main_window
  local window=$found
  press "$window" alt+t
  sleep 1
  running || fail "Tray Only without a notification area ended the program"
  ! hidden || fail "Tray Only without a notification area hid the window"
  start_tray
  wait_until 30 tray_icon >/dev/null || fail "no icon once the notification area came"
  tray_only_and_back "$window"
  exit_program "$found"
}

# FIFOs among the cookie files, as cookies.txt, the settings and a protection
# list are skipped: the window opens, the program ends normally.
case_fifo_in_cookie_folder() {
  sample_workdir
  rm "$work/samples/ns/cookies.txt"
  mkfifo "$work/samples/ie/x.txt" "$work/samples/ns/cookies.txt" "$work/Jarvane.INI" \
    "$work/IEPROT.DAT"
  start "$program"
  main_window
  exit_program "$found"
  [ -p "$work/samples/ie/x.txt" ] || fail "the FIFO was replaced"
}

# A cookie whose name is 8 MB long: Refresh and Exit are still handled at once,
# and the file keeps the whole name.
case_long_name() {
  sample_workdir
  {
    echo "# Netscape HTTP Cookie File"
    head -c 8388608 /dev/zero | tr '\0' n
    printf '\tTRUE\t/\tFALSE\t0\tname\tvalue\n'
  } >"$work/samples/ns/cookies.txt"
  cp "$work/samples/ns/cookies.txt" "$scratch/before.txt"
  start "$program"
  main_window 30
  press "$found" alt+f alt+x
  wait_exit 4 || fail "Refresh and Exit took longer than 4 s"
  cmp -s "$work/samples/ns/cookies.txt" "$scratch/before.txt" || fail "cookies.txt changed"
}

# The marks the lists hold, one per line, whatever browser they belong to.
marks() { cat "$work"/*PROT.DAT 2>/dev/null | tr -d '\r' | grep -c .; }
# Ended by the signal, the program writes its marks and releases the folder as
# Exit does, and ends with status 0: after Protect with nothing open (SIGTERM,
# as a logout sends), and with the Delete All question open (SIGINT; nothing is
# deleted), and with the Options dialog open (SIGHUP).
case_signal_ends_like_exit() {
  sample_workdir
  local signal status before
  before=$(ls -R "$work/samples" | md5sum)
  for signal in TERM INT HUP; do
    rm -f "$work"/*PROT.DAT
    start "$program"
    main_window
    press "$found" alt+p
    sleep 0.3
    case $signal in
      INT) press "$found" alt+a ;;
      HUP) press "$found" alt+o ;;
    esac
    sleep 0.5
    kill -"$signal" "$pid"
    wait_exit 10 || fail "SIG$signal did not end the program"
    wait "$pid"
    status=$?
    pid=
    [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status"
    [ "$(marks)" -ge 1 ] || fail "SIG$signal: no mark in the lists"
    flock -n -x "$work" true || fail "SIG$signal: the folder is still locked"
  done
  [ "$(ls -R "$work/samples" | md5sum)" = "$before" ] || fail "a cookie was deleted"
}

# A second start in the folder brings the running window out of the
# notification area and ends at once (status 0) without touching a file; a
# start in another folder runs beside it.
case_tray_only_one_window_per_folder() {
  sample_workdir
  start_tray
  start "$program"
  main_window
  local first=$found first_pid=$pid snapshot status
  wait_until 30 tray_icon >/dev/null || fail "no icon in the notification area"
  press "$first" alt+t
  wait_until 20 hidden || fail "the window stayed"
  snapshot=$(cd "$work" && find . -type f -exec md5sum {} + | sort)
  (cd "$work" && exec env HOME="$scratch/home" timeout 20 "$program" >"$scratch/second.txt" 2>&1)
  status=$?
  [ "$status" -eq 0 ] || fail "the second start ended with status $status"
  [ ! -s "$scratch/second.txt" ] || fail "the second start said: $(cat "$scratch/second.txt")"
  main_window 10
  [ "$(cd "$work" && find . -type f -exec md5sum {} + | sort)" = "$snapshot" ] ||
    fail "the second start changed files"
  [ "$(tray_icon | wc -l)" -eq 1 ] || fail "not one icon"
  "$root/scripts/prepare-workdir.sh" "$scratch/other" >/dev/null || fail "cannot prepare"
  others=("$first_pid")
  (cd "$scratch/other" && exec "$program" >/dev/null 2>&1) &
  pid=$!
  main_window 15
  exit_program "$found"
  pid=$first_pid others=()
  exit_program "$first"
}

# Holds the folder's lock as jarvane-cli does for a command that writes it.
hold_folder() {
  python3 -c 'import fcntl, os, sys, time
fcntl.flock(os.open(sys.argv[1], os.O_RDONLY), fcntl.LOCK_EX)
time.sleep(60)' "$work" &
  others=($!)
  wait_until 5 eval '! flock -n -s "$work" true' || fail "the folder was not locked"
}
# While jarvane-cli holds the folder, the window says after a second what it
# waits for, and opens once the folder is free; Give Up ends the program
# without touching a file.
case_waits_for_cli() {
  sample_workdir
  hold_folder
  start "$program"
  wait_window "Jarvane" 10
  ! xdotool search --all --onlyvisible --pid "$pid" --name '^Jarvane 1.0$' >/dev/null ||
    fail "the main window opened while the folder was held"
  kill "${others[0]}"
  main_window 10
  exit_program "$found"
  hold_folder
  local snapshot
  snapshot=$(cd "$work" && find . -type f -exec md5sum {} + | sort)
  start "$program"
  wait_window "Jarvane" 10
  press "$found" alt+g
  wait_exit 10 || fail "Give Up did not end the program"
  [ "$(cd "$work" && find . -type f -exec md5sum {} + | sort)" = "$snapshot" ] ||
    fail "files were written"
}

# Installed with DESTDIR into a stage and moved into place, as packagers do, the
# launcher starts the program in its own working folder with the help book and
# the sound; the desktop entry and the AppStream file pass their validators.
case_installed_launcher() {
  local prefix="$scratch/installed here" stage=$scratch/stage size
  # The program is built at the top of its build folder.
  DESTDIR=$stage cmake --install "$(dirname "$program")" --prefix "$prefix" >/dev/null ||
    fail "install failed"
  mkdir -p "$(dirname "$prefix")" && mv "$stage$prefix" "$prefix" || fail "nothing staged"
  ! grep -rq "$stage" "$prefix" || fail "the stage is named in: $(grep -rl "$stage" "$prefix")"
  desktop-file-validate "$prefix/share/applications/jarvane.desktop" || fail "desktop entry"
  appstreamcli validate --no-net "$prefix/share/metainfo/"*.metainfo.xml >/dev/null ||
    fail "AppStream: $(appstreamcli validate --no-net "$prefix/share/metainfo/"*.metainfo.xml)"
  for size in 48 64 128 256; do
    [ "$(identify -format %wx%h "$prefix/share/icons/hicolor/${size}x$size/apps/jarvane.png")" = \
      "${size}x$size" ] || fail "no ${size}x$size icon"
  done
  # The second data home is the prefix's own, as with --prefix ~/.local.
  for data_home in "$scratch/data" "$prefix/share"; do
    start env XDG_DATA_HOME="$data_home" "$prefix/bin/jarvane-desktop"
    wait_window "Find Cookie Location" 15
    [ -f "$data_home/jarvane/help/Jarvane.hhp" ] && [ -f "$data_home/jarvane/Sounds/Yes.WAV" ] ||
      fail "working folder holds: $(ls -R "$data_home/jarvane")"
    press "$found" Escape
    wait_exit 10 || fail "cancelling the dialog did not end the program"
  done
}

declare -F "case_$case_name" >/dev/null || fail "no such case"
"case_$case_name"
echo "ok: $case_name"
