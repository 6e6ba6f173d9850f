#!/usr/bin/env bash
# Shared set-up for ./play and ./run-tests: install what is missing, build, stage build/run.
# Usage: scripts/prepara.sh play|tests
set -euo pipefail
cd "$(dirname "$0")/.."

modo=${1:-play}
paquetes=(cmake make g++ pkg-config liballegro4-dev libmpg123-dev zlib1g-dev freepats)
if [ "$modo" = tests ]; then
    paquetes+=(libgtest-dev libbenchmark-dev xvfb xdotool x11-xserver-utils imagemagick lame
               libx11-dev x11-utils dpkg-dev fakeroot lintian zlib1g-dev file clang-14
               libclang-rt-14-dev)
fi

faltan=()
for p in "${paquetes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        como=()
    elif command -v sudo >/dev/null 2>&1; then
        como=(sudo)
    else
        echo "Missing packages: ${faltan[*]} (run as root or install sudo)" >&2
        exit 1
    fi
    echo "Installing: ${faltan[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${como[@]}" apt-get update -q
    "${como[@]}" apt-get install -y -q --no-install-recommends "${faltan[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
