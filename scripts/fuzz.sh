#!/usr/bin/env bash
# Builds the extractor's fuzz target with clang (sanitizers on) into build-fuzz/ and runs it
# for the given number of seconds (default 300), seeded with pages of the simulator's layout.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-debian.sh" clang libclang-rt-14-dev curl
seconds="${1:-300}"
build="$root/build-fuzz"
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DVERITAM_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer"
fi
cmake --build "$build" --target veritam-fuzz-extractor veritam-portal-sim
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
if [ -z "$(ls -A "$corpus")" ]; then
    coproc SIM { exec "$build/bin/veritam-portal-sim" --state "$root/tools/portal-sim/demo-state.json" --until-stdin-closes; }
    read -r _ _ port <&"${SIM[0]}"
    for id in p1 p2 p3 b1 b2 u1; do
        curl -s -H "Host: nahlizeni.portal.test:$port" "http://127.0.0.1:$port/ZobrazObjekt?id=$id" > "$corpus/$id.html"
    done
    kill "$SIM_PID"
fi
ASAN_OPTIONS=detect_leaks=1 "$build/bin/veritam-fuzz-extractor" -max_total_time="$seconds" -max_len=65536 "$corpus"
