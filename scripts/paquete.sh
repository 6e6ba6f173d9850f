#!/usr/bin/env bash
# Builds the Debian package (build/vorkzel_*.deb) and checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prepara.sh tests
cd build
cpack -G DEB
lintian --fail-on error vorkzel_*.deb
