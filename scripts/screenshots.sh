#!/usr/bin/env bash
# Takes the pictures of the program that the README and the AppStream metainfo show:
# the demo objects of the portal simulator checked twice offscreen (the second check
# finds a change), then the record editor, the change history, the account window and the
# notice before the first portal use. Into docs/screenshots/
# unless a folder is named.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" >&2
out="${1:-$root/docs/screenshots}"
QTWEBENGINE_DISABLE_SANDBOX=1 "${VERITAM_BUILD_DIR:-$root/build}/bin/veritam-screenshots" "$out" \
    2>/dev/null
