#!/usr/bin/env bash
# Configures (once) and builds the project into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-debian.sh"
build="${VERITAM_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake --build "$build" --parallel "$(nproc)"
