#!/usr/bin/env bash
# Builds Veritam and starts it; arguments go to the program (e.g. --files DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/build.sh" >&2
exec "${VERITAM_BUILD_DIR:-$root/build}/bin/veritam" "$@"
