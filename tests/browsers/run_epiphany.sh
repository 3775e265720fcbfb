#!/usr/bin/env bash
# Runs GNOME Web (epiphany-browser) offline on one page until it is ended:
# run_epiphany.sh HOME_DIR PORT URL
# HOME_DIR is the home it runs in; it keeps its cookies in
# HOME_DIR/.local/share/epiphany/cookies.sqlite. It gets a session bus of its
# own, and the cookie server at PORT as its proxy for every request, so the
# test host names need no resolver and nothing leaves the machine. It needs a
# display and starts Xvfb when there is none. End it with its process group.
set -euo pipefail
home=$1 port=$2 url=$3
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$@"
fi
mkdir -p "$home"
# GNOME Web reopens the tabs of its last run (it has no setting against it):
# each run shows only its own page.
rm -f "$home/.local/share/epiphany/session_state.xml"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME DBUS_SESSION_BUS_ADDRESS
unset no_proxy NO_PROXY all_proxy ALL_PROXY
export HOME=$home NO_AT_BRIDGE=1
export http_proxy=http://127.0.0.1:$port https_proxy=http://127.0.0.1:$port
# Without a user namespace (containers, root) WebKit's sandboxed web process
# dies at start; the pages here are the test server's own.
export WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
exec dbus-run-session -- epiphany-browser --new-window "$url"
