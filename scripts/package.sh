#!/usr/bin/env bash
# Builds the Debian package (build/veritam_VERSION_ARCH.deb) and checks it: the desktop
# entry and the AppStream metainfo validate and lintian finds no error. With --install it
# also installs the package with apt, starts the program offscreen by its desktop entry's
# Exec line on a new home folder, and removes the package again, which must leave none of
# its files behind. Needs root (or sudo) for --install.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VERITAM_BUILD_DIR:-$root/build}"
"$root/scripts/setup-debian.sh" dpkg-dev desktop-file-utils appstream lintian
"$root/scripts/build.sh"

(cd "$build" && cpack -G DEB)
deb="$(ls "$build"/veritam_*.deb)"
desktop-file-validate "$root/packaging/cz.veritam.Veritam.desktop"
appstreamcli validate --no-net "$build/packaging/cz.veritam.Veritam.metainfo.xml"
lintian --fail-on error "$deb"
echo "Package $deb: validated, lintian without errors."

[ "${1:-}" = "--install" ] || exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$deb"
mapfile -t files < <(dpkg -L veritam)
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
entry=/usr/share/applications/cz.veritam.Veritam.desktop
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
# A data folder that has its code lists and an account name: the start asks nothing.
env -i PATH=/usr/bin:/bin HOME="$home" veritam --import-codelists "$root/tests/support/codelists"
printf '[cuzk]\r\njmeno=zkouska\r\n' >"$home/.local/share/Veritam/nastaveni.ini"
# shellcheck disable=SC2086 # the Exec line is a command line
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen VERITAM_QUIT_WHEN_SHOWN=1 \
    timeout 120 $exec_line
echo "The desktop entry's \"$exec_line\" started the program and showed its window."
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q veritam
left=0
for f in "${files[@]}"; do
    if [ -f "$f" ]; then
        echo "Left behind: $f" >&2
        left=1
    fi
done
[ "$left" -eq 0 ] && echo "Removed cleanly."
exit "$left"
