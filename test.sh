#!/usr/bin/env bash
# Builds Veritam and runs every test; names the tests that were skipped and why.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
# systemd-analyze checks the daily timer's unit files.
"$root/scripts/setup-debian.sh" systemd
"$root/scripts/build.sh"
cd "${VERITAM_BUILD_DIR:-$root/build}"
status=0
ctest --output-on-failure --timeout 600 "$@" || status=$?
if skipped="$(grep -h '^SKIP ' Testing/Temporary/LastTest.log 2>/dev/null)"; then
    echo
    echo "Skipped:"
    echo "$skipped"
fi
exit "$status"
