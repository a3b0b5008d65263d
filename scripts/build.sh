#!/usr/bin/env bash
# Configures (once per preset) and builds the project; the preset is VERITAM_PRESET
# (dev by default, ci for CI: every warning an error), the folder build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-debian.sh"
build="${VERITAM_BUILD_DIR:-$root/build}"
preset="${VERITAM_PRESET:-dev}"
if [ ! -f "$build/build.ninja" ] || [ "$(cat "$build/.veritam-preset" 2>/dev/null)" != "$preset" ]; then
    (cd "$root" && cmake --preset "$preset" -B "$build")
    echo "$preset" >"$build/.veritam-preset"
fi
cmake --build "$build" --parallel "$(nproc)"
