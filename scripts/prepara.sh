#!/usr/bin/env bash
# Shared set-up for ./play and ./run-tests: install what is missing, build, stage build/run.
# Usage: scripts/prepara.sh play|tests
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/comun.sh

modo=${1:-play}
paquetes=(cmake make g++ pkg-config liballegro4-dev libmpg123-dev zlib1g-dev freepats)
if [ "$modo" = tests ]; then
    paquetes+=(libgtest-dev libbenchmark-dev xvfb xdotool x11-xserver-utils imagemagick lame
               libx11-dev x11-utils dpkg-dev fakeroot lintian zlib1g-dev file clang-14
               libclang-rt-14-dev)
fi

instala "${paquetes[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

# The tests run the Windows build under Wine too. A machine that cannot make it (no source archive,
# no mingw-w64) stops here, loudly, rather than skipping those tests.
if [ "$modo" = tests ]; then
    VZ_ANFITRION_HECHO=1 scripts/windows.sh
fi
