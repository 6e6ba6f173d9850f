#!/usr/bin/env bash
# The Debian package: builds, holds the game where Debian puts games, declares its libraries and
# freepats, and lintian finds no error in it. Usage: paquete.sh BUILD_DIR
set -euo pipefail
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$t" >"$t/log" || { cat "$t/log"; exit 1; }
deb=$(ls "$t"/vorkzel_1.0.0_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'liballegro4.4' || { echo "no library dependency"; exit 1; }
[ "$(dpkg-deb -f "$deb" Recommends)" = freepats ] || { echo "freepats is not recommended"; exit 1; }
dpkg-deb -x "$deb" "$t/x"
(cd "$t/x/usr" && ls games/vorkzel share/applications/vorkzel.desktop share/man/man6/vorkzel.6.gz \
    share/icons/hicolor/32x32/apps/vorkzel.png >/dev/null)
lintian --fail-on error "$deb"
