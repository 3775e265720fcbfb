#!/usr/bin/env bash
# The Debian package, built and checked as a Debian user meets it: built by
# scripts/package.sh and checked by lintian; its dependencies are those
# dpkg-shlibdeps finds in its programs; it holds what `cmake --install` puts
# under a prefix; `apt-get install` of the file pulls only what it declares;
# the installed launcher opens the Find Cookie Location window on a virtual
# display and jarvane-cli runs; `apt-get purge` leaves nothing under /usr and
# the user's working folder as it was.
# Used as: package_test.sh BUILD, where BUILD is a build folder of the same
# tree whose `cmake --install` the package is compared with. Installing needs
# root (or sudo); a package left installed by an earlier run is purged first.
# JARVANE_PACKAGE_SCREENSHOT=FILE keeps a screenshot of the first-run window.
# Ends with "package: N passed, M failed".
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi

scratch=$(mktemp -d)
pid=
we_installed=
cleanup() {
  [ -n "$pid" ] && { kill -9 "$pid" && wait "$pid"; } 2>/dev/null
  [ -n "$we_installed" ] && installed && "${as_root[@]}" apt-get purge -y -qq jarvane >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo -n)
export DEBIAN_FRONTEND=noninteractive

passed=0
failed=0
check() { # name, command...
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAIL: $name"
    failed=$((failed + 1))
    return 1
  fi
}
finish() {
  echo "package: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
installed() { dpkg-query -W -f='${Status}' jarvane 2>/dev/null | grep -q 'install ok installed'; }

version=$(sed -nE 's/^project\(Jarvane VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
deb=$root/build-deb/jarvane_${version}_$(dpkg --print-architecture).deb

build_package() {
  "$root/scripts/package.sh" >"$scratch/build.log" 2>&1 && [ -f "$deb" ] && return 0
  tail -n 30 "$scratch/build.log"
  echo "no $deb"
  return 1
}

lintian_clean() {
  lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges'
  return "${PIPESTATUS[0]}"
}

# Depends is exactly what dpkg-shlibdeps finds in the package's programs; the
# fields a user reads in `apt show` are there, and no home page is claimed.
metadata() {
  local unpacked=$scratch/unpacked elves=() file computed declared ok=0
  mkdir -p "$unpacked/debian"
  dpkg-deb -x "$deb" "$unpacked"
  cp "$root/debian/control" "$unpacked/debian/control"
  while IFS= read -r file; do
    head -c 4 "$file" | cmp -s - <(printf '\177ELF') && elves+=("${file#"$unpacked"/}")
  done < <(find "$unpacked/usr" -type f)
  [ ${#elves[@]} -ge 2 ] || { echo "programs found: ${elves[*]}"; return 1; }
  computed=$(cd "$unpacked" && dpkg-shlibdeps -O "${elves[@]}" 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p' | tr ',' '\n' | sed 's/^ *//' | sort)
  declared=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//' | sort)
  if [ -z "$computed" ] || [ "$computed" != "$declared" ]; then
    echo "Depends: $(paste -sd ' ' <<<"$declared"); dpkg-shlibdeps: $(paste -sd ' ' <<<"$computed")"
    ok=1
  fi
  [ "$(dpkg-deb -f "$deb" Section)" = utils ] || { echo "Section"; ok=1; }
  dpkg-deb -f "$deb" Maintainer | grep -q '^Jarvane maintainers <' || { echo "Maintainer"; ok=1; }
  [ -z "$(dpkg-deb -f "$deb" Homepage)" ] || { echo "a Homepage"; ok=1; }
  for word in Firefox Chromium cookies.txt; do
    dpkg-deb -f "$deb" Description | grep -q "$word" || { echo "Description lacks $word"; ok=1; }
  done
  return "$ok"
}

# Files and links, with their modes: those `cmake --install` stages, the
# manual pages compressed, plus Debian's copyright and changelog.
same_files_as_install() {
  local stage=$scratch/stage manifest=$build/install_manifest.txt status
  # The manifest would name /usr paths: the user's own install's stays.
  [ -f "$manifest" ] && cp "$manifest" "$scratch/manifest"
  DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
  status=$?
  rm -f "$manifest"
  [ -f "$scratch/manifest" ] && cp "$scratch/manifest" "$manifest"
  [ "$status" -eq 0 ] || return 1
  (cd "$stage" && find . ! -type d -printf '%M %p\n') |
    sed -E 's|(/man/man[0-9]/[^ ]+)$|\1.gz|' >"$scratch/expected"
  printf '%s\n' "-rw-r--r-- ./usr/share/doc/jarvane/copyright" \
    "-rw-r--r-- ./usr/share/doc/jarvane/changelog.gz" >>"$scratch/expected"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' >"$scratch/packaged"
  diff <(sort "$scratch/expected") <(sort "$scratch/packaged") | sed 's/^/  /'
  return "${PIPESTATUS[0]}"
}

# What apt would install besides the package is reachable from its Depends;
# then it installs it.
apt_install() {
  local declared closure name extra=()
  if installed; then
    echo "purging the package an earlier run left installed"
    "${as_root[@]}" apt-get purge -y -qq jarvane >/dev/null || return 1
  fi
  declared=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed -E 's/^ *([^ ]+).*/\1/')
  # shellcheck disable=SC2086 # one word a name
  closure=$(apt-cache depends --recurse --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $declared | grep -v '^ ' | tr -d '<>')
  for name in $("${as_root[@]}" apt-get install -s "$deb" | sed -n 's/^Inst \([^ ]*\).*/\1/p'); do
    [ "$name" = jarvane ] || grep -qxF "$name" <<<"$closure" || extra+=("$name")
  done
  [ ${#extra[@]} -eq 0 ] || { echo "apt would also install: ${extra[*]}"; return 1; }
  we_installed=1
  "${as_root[@]}" apt-get install -y -qq "$deb" >"$scratch/apt.log" 2>&1 ||
    { tail -n 20 "$scratch/apt.log"; return 1; }
  installed && dpkg -L jarvane >"$scratch/installed.txt"
}

home=$scratch/home
work=$home/.local/share/jarvane
# The menu entry's command, found on PATH, opens the first-run window in the
# user's working folder, with the help book and sound copied in.
launcher_opens_first_run() {
  local window
  [ "$(command -v jarvane-desktop)" = /usr/bin/jarvane-desktop ] || return 1
  grep -qx 'Exec="/usr/bin/jarvane-desktop"' /usr/share/applications/jarvane.desktop ||
    { echo "desktop entry: $(grep Exec= /usr/share/applications/jarvane.desktop)"; return 1; }
  mkdir -p "$home"
  env -u XDG_DATA_HOME HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_CACHE_HOME="$home/.cache" jarvane-desktop >"$scratch/out.txt" 2>&1 &
  pid=$!
  window=$(timeout 30 xdotool search --sync --all --onlyvisible --pid "$pid" \
    --name '^Find Cookie Location$' 2>/dev/null | head -n 1)
  [ -n "$window" ] || { echo "no Find Cookie Location window"; head -n 5 "$scratch/out.txt"; return 1; }
  [ -n "${JARVANE_PACKAGE_SCREENSHOT:-}" ] && sleep 1 && import -window root "$JARVANE_PACKAGE_SCREENSHOT"
  [ -f "$work/help/index.html" ] && [ -f "$work/Sounds/Yes.WAV" ] ||
    { echo "working folder holds: $(ls -A "$work")"; return 1; }
  timeout 5 xdotool windowfocus --sync "$window" && xdotool key --clearmodifiers Escape
  timeout 10 tail --pid="$pid" -f /dev/null || { echo "cancelling did not end it"; return 1; }
  pid=
}

cli_runs() {
  jarvane-cli --help >"$scratch/help.txt" 2>&1 && grep -q '^Usage: jarvane-cli' "$scratch/help.txt" ||
    { head -n 5 "$scratch/help.txt"; return 1; }
  # The systemd user timer is installed, never enabled.
  [ -f /usr/share/systemd/user/jarvane-clean.timer ] || return 1
  ! find /etc/systemd -name 'jarvane*' 2>/dev/null | grep -q . ||
    { echo "enabled: $(find /etc/systemd -name 'jarvane*')"; return 1; }
}

# Nothing of the package stays under /usr; the user's files stay as they were.
purge_leaves_nothing() {
  local left
  mkdir -p "$work"
  printf 'kept.example.com/\r\n' >"$work/IEPROT.DAT"
  (cd "$work" && find . -type f -exec md5sum {} + | sort) >"$scratch/work-before"
  "${as_root[@]}" apt-get purge -y -qq jarvane >/dev/null 2>&1 || return 1
  ! installed || return 1
  left=$(while IFS= read -r path; do
    [ -e "$path" ] && [ ! -d "$path" ] && echo "$path"
  done <"$scratch/installed.txt"
  find /usr -path /usr/local -prune -o -name '*jarvane*' -print)
  [ -z "$left" ] || { echo "left: $left"; return 1; }
  (cd "$work" && find . -type f -exec md5sum {} + | sort) | cmp -s - "$scratch/work-before" ||
    { echo "the working folder changed"; return 1; }
}

check "the package builds" build_package || finish
check "lintian finds no error or warning" lintian_clean
check "metadata, and Depends as dpkg-shlibdeps finds it" metadata
check "the package holds what cmake --install installs" same_files_as_install
check "apt-get install pulls only what is declared" apt_install || finish
check "the installed launcher opens Find Cookie Location" launcher_opens_first_run
check "jarvane-cli --help runs; the timer is not enabled" cli_runs
check "apt-get purge leaves nothing under /usr, the working folder alone" purge_leaves_nothing
finish
