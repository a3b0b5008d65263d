#!/usr/bin/env bash
# Builds and runs the benchmark programs; they print their medians and goals.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" >&2
bin="${VERITAM_BUILD_DIR:-$root/build}/bin"
for bench in "$bin"/veritam-bench-*; do
    echo "== $(basename "$bench")"
    "$bench" 2>/dev/null
done
