#!/usr/bin/env bash
# The Debian package: builds, holds the game where Debian puts games, declares its libraries and
# freepats, and lintian finds no error in it. Usage: paquete.sh BUILD_DIR
set -euo pipefail
trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$trabajo" >"$trabajo/cpack.log" || { cat "$trabajo/cpack.log"; exit 1; }
deb=$(ls "$trabajo"/vorkzel_1.0.0_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'liballegro4.4' || { echo "no library dependency"; exit 1; }
[ "$(dpkg-deb -f "$deb" Recommends)" = freepats ] || { echo "freepats is not recommended"; exit 1; }
archivos=$(dpkg-deb -c "$deb")
for f in games/vorkzel share/applications/vorkzel.desktop share/icons/hicolor/32x32/apps/vorkzel.png share/man/man6/vorkzel.6.gz; do
    grep -q " ./usr/$f\$" <<<"$archivos" || { echo "missing from the package: /usr/$f"; exit 1; }
done
lintian --fail-on error "$deb"
