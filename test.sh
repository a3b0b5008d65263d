#!/usr/bin/env bash
# Builds Veritam and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
# systemd-analyze checks the daily timer's unit files.
"$root/scripts/setup-debian.sh" systemd
"$root/scripts/build.sh"
cd "${VERITAM_BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 "$@"
