#!/usr/bin/env bash
# Starts the portal simulator with its demo objects and the application pointed at it,
# with a data folder of its own, so the application can be tried without a portal account.
# Arguments go to the application.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" >&2
bin="${VERITAM_BUILD_DIR:-$root/build}/bin"
data="${VERITAM_DEMO_DATA:-$HOME/.local/share/Veritam-demo}"
mkdir -p "$data"
state="$data/portal-state.json"
[ -f "$state" ] || cp "$root/tools/portal-sim/demo-state.json" "$state"

coproc SIM { exec "$bin/veritam-portal-sim" --state "$state" --log "$data/portal-requests.log" --until-stdin-closes; }
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
read -r _ _ port <&"${SIM[0]}"
echo "Portal simulator on port $port; its objects: $state" >&2

export VERITAM_PORTAL_VIEWER="http://nahlizeni.portal.test:$port"
export VERITAM_PORTAL_LOGIN="http://login.portal.test:$port"
export VERITAM_PORTAL_DOMAIN="portal.test"
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP *.portal.test 127.0.0.1"'
"$bin/veritam" --files "$data/" "$@"
