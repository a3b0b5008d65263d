#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing;
# further packages may be named as arguments.
set -euo pipefail
packages=(
    cmake ninja-build ccache g++ pkg-config librsvg2-bin
    qt6-base-dev qt6-translations-l10n libgl-dev
    libsqlite3-dev libzip-dev
    qt6-webengine-dev libgumbo-dev libcpp-httplib-dev
    "$@"
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
