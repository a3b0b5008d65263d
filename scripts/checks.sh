#!/usr/bin/env bash
# The checks CI runs besides the tests: the formatting of every C++ file, and the fast
# (unit) tests built with the address and undefined-behaviour sanitizers (build-asan/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/setup-debian.sh" clang-format

echo "== Formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "All C++ files formatted."

echo "== Unit tests under the sanitizers"
cmake --preset asan >/dev/null
mapfile -t unit < <(ctest --test-dir build-asan -N -L unit | sed -n 's/^ *Test *#[0-9]*: //p')
targets=()
for test in "${unit[@]}"; do
    [ "$test" = layering ] || targets+=("$test")
done
cmake --build build-asan --parallel "$(nproc)" --target "${targets[@]}"
ctest --preset asan-unit
