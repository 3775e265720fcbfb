#!/usr/bin/env bash
# Runs a real browser headless and offline through the cookie server's chain
# once: visit.sh firefox|chromium|epiphany PROFILE_DIR PORT [FIRST_HOST]
# Firefox keeps its cookies in PROFILE_DIR/cookies.sqlite, Chromium in
# PROFILE_DIR/Default/Cookies; GNOME Web runs with PROFILE_DIR as its home and
# keeps them in PROFILE_DIR/.local/share/epiphany/cookies.sqlite. Host names
# resolve to this machine only.
set -euo pipefail
browser=$1 profile=$2 port=$3 first=${4:-alpha.test}
mkdir -p "$profile"
url="http://$first:$port/visit"
case $browser in
firefox)
  # Every name of the chain resolves locally; no update, telemetry or HTTPS
  # upgrade traffic leaves the machine.
  cat >"$profile/user.js" <<PREFS
user_pref("network.dns.localDomains", "alpha.test,beta.test,gamma.test,www.bank.test,accounts.bank.test,tracker.test");
user_pref("network.proxy.type", 0);
user_pref("dom.security.https_first", false);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("app.update.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.enabled", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
PREFS
  MOZ_HEADLESS=1 timeout 60 firefox-esr --headless --no-remote --profile "$profile" \
    --screenshot "$profile/shot.png" "$url" >/dev/null 2>&1
  ;;
chromium)
  timeout 60 chromium --headless --no-sandbox --user-data-dir="$profile" \
    --host-resolver-rules="MAP * 127.0.0.1" --disable-features=HttpsUpgrades \
    --password-store=basic --no-first-run --disable-sync --disable-background-networking \
    --dump-dom "$url" >/dev/null 2>&1
  ;;
epiphany)
  # GNOME Web stays open after its visit: it is ended once the chain has
  # reached /done (it has stored each cookie as its response came).
  finished() { curl -s "http://127.0.0.1:$port/finished"; }
  before=$(finished)
  set -m
  "$(dirname "$0")/run_epiphany.sh" "$profile" "$port" "$url" >/dev/null 2>&1 &
  browser_pid=$!
  set +m
  status=0
  for ((i = 0; i < 600; ++i)); do
    [ "$(finished)" != "$before" ] && break
    kill -0 "$browser_pid" 2>/dev/null || { status=1; break; }
    sleep 0.1
  done
  [ "$(finished)" != "$before" ] || status=1
  kill -TERM -- "-$browser_pid" 2>/dev/null || true
  wait "$browser_pid" 2>/dev/null || true
  exit $status
  ;;
*)
  echo "unknown browser $browser" >&2
  exit 2
  ;;
esac
