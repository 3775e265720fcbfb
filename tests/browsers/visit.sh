#!/usr/bin/env bash
# Runs a real browser headless and offline through the cookie server's chain
# once: visit.sh firefox|chromium PROFILE_DIR PORT [FIRST_HOST]
# Firefox keeps its cookies in PROFILE_DIR/cookies.sqlite, Chromium in
# PROFILE_DIR/Default/Cookies. Host names resolve to this machine only.
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
*)
  echo "unknown browser $browser" >&2
  exit 2
  ;;
esac
