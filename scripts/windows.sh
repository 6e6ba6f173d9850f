#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows into build-win/, from the same sources as the Linux build.
#
#   scripts/windows.sh          libraries, the game, build-win/run, the zip and the installer
#   scripts/windows.sh sonda    libraries and the check program build-win/sonda.exe only
#
# Allegro 4.4.3.1 and libmpg123 come from the original tarballs of Debian's source packages,
# checked against scripts/windows/fuentes.sha256, patched (scripts/windows/*.patch) and built as
# static libraries under build-win/deps, where they stay until their sources, patches or options
# change. The game's data (levels, pictures, sounds, music, the icon) is made by the Linux build.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/comun.sh
raiz=$PWD
modo=${1:-todo}

instala mingw-w64 wine wine64 nsis xvfb xdotool patch cmake make

deps=$raiz/build-win/deps
mkdir -p "$deps/fuentes"
hilos=$(nproc)

# trae PACKAGE TARBALL: the original tarball of a Debian source package, as the hash file has it.
trae() {
    local paquete=$1 archivo=$2 esperado
    esperado=$(grep "  $archivo\$" scripts/windows/fuentes.sha256)
    (cd "$deps/fuentes" && sha256sum -c --status <<<"$esperado" 2>/dev/null) && return 0
    if ! apt-cache showsrc "$paquete" 2>/dev/null | grep -q " $archivo\$"; then
        # No source index yet: one of our own, for this release's main archive.
        local version
        version=$(. /etc/os-release && echo "$VERSION_CODENAME")
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$version" "$version" | "${root[@]}" tee /etc/apt/sources.list.d/vorkzel-fuentes.sources >/dev/null
        "${root[@]}" apt-get update -q
    fi
    rm -f "$deps/fuentes/$archivo"
    # Some Debian files of the package (signatures, packaging) may answer 404: apt then fails even
    # though the original tarball arrived, so the hash decides.
    (cd "$deps/fuentes" && apt-get source --download-only -q "$paquete" >/dev/null 2>&1) || true
    (cd "$deps/fuentes" && sha256sum -c --status <<<"$esperado") ||
        { echo "$archivo: missing, or not the file scripts/windows/fuentes.sha256 names" >&2; exit 1; }
}

# anota LOG COMMAND...: runs a build step into its log, which is shown when the step fails.
anota() {
    local log=$1
    shift
    "$@" >>"$log" 2>&1 || { tail -n 40 "$log" >&2; echo "failed: $* (log: $log)" >&2; exit 1; }
}

# clave FILE...: a short hash of what a library is built from, naming its folder under deps.
clave() { cat "$@" | sha256sum | cut -c1-16; }

trae allegro4.4 allegro4.4_4.4.3.1.orig.tar.gz
trae mpg123 mpg123_1.31.2.orig.tar.bz2

opciones_allegro=(-DCMAKE_BUILD_TYPE=Release -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TESTS=OFF
    -DWANT_TOOLS=OFF -DWANT_DOCS=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF
    -DWANT_JPGALLEG=OFF)
opciones_mpg123=(--host=x86_64-w64-mingw32 --enable-static --disable-shared --with-cpu=x86-64
    CC=x86_64-w64-mingw32-gcc-posix)

allegro=$deps/allegro-$(clave <(grep allegro scripts/windows/fuentes.sha256) scripts/windows/allegro-*.patch \
    cmake/mingw64.cmake <(echo "${opciones_allegro[*]}"))
mpg123=$deps/mpg123-$(clave <(grep mpg123 scripts/windows/fuentes.sha256) <(echo "${opciones_mpg123[*]}"))

if [ ! -f "$allegro/hecho" ]; then
    echo "Building Allegro 4.4.3.1 for Windows"
    rm -rf "$deps"/allegro-* "$deps/obra-allegro" "$deps/allegro.log"
    mkdir -p "$deps/obra-allegro"
    tar -xzf "$deps/fuentes/allegro4.4_4.4.3.1.orig.tar.gz" -C "$deps/obra-allegro"
    fuente=$deps/obra-allegro/allegro-4.4.3.1
    for p in scripts/windows/allegro-*.patch; do patch -d "$fuente" -p1 -s --forward <"$p"; done
    anota "$deps/allegro.log" cmake -S "$fuente" -B "$deps/obra-allegro/b" \
        -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw64.cmake" "${opciones_allegro[@]}" -DCMAKE_INSTALL_PREFIX="$allegro"
    anota "$deps/allegro.log" cmake --build "$deps/obra-allegro/b" -j"$hilos"
    anota "$deps/allegro.log" cmake --install "$deps/obra-allegro/b"
    cp "$fuente/docs/txt/license.txt" "$allegro/license.txt"
    rm -rf "$deps/obra-allegro"
    touch "$allegro/hecho"
fi

if [ ! -f "$mpg123/hecho" ]; then
    echo "Building libmpg123 1.31.2 for Windows"
    rm -rf "$deps"/mpg123-* "$deps/obra-mpg123" "$deps/mpg123.log"
    mkdir -p "$deps/obra-mpg123/b" "$mpg123/lib" "$mpg123/include"
    tar -xjf "$deps/fuentes/mpg123_1.31.2.orig.tar.bz2" -C "$deps/obra-mpg123"
    fuente=$deps/obra-mpg123/mpg123-1.31.2
    (cd "$deps/obra-mpg123/b" && anota "$deps/mpg123.log" "$fuente/configure" "${opciones_mpg123[@]}" &&
        anota "$deps/mpg123.log" make -j"$hilos" src/libmpg123/libmpg123.la)
    cp "$deps/obra-mpg123/b/src/libmpg123/.libs/libmpg123.a" "$mpg123/lib/"
    cp "$deps/obra-mpg123/b/src/libmpg123/mpg123.h" "$fuente/src/libmpg123/fmt123.h" "$mpg123/include/"
    cp "$fuente/COPYING" "$mpg123/license.txt"
    rm -rf "$deps/obra-mpg123"
    touch "$mpg123/hecho"
fi

# The data and the icon come from the Linux build's tools, which run here and not on Windows
# (scripts/prepara.sh tests has built them already when it calls this script).
[ -n "${VZ_ANFITRION_HECHO:-}" ] || scripts/prepara.sh play

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVZ_ALLEGRO="$allegro" -DVZ_MPG123="$mpg123" -DVZ_ANFITRION="$raiz/build" >/dev/null
cmake --build build-win -j"$hilos" --target sonda
[ "$modo" = sonda ] && exit 0

cmake --build build-win -j"$hilos"
(cd build-win && cpack -G "ZIP;NSIS" >cpack.log) || { cat build-win/cpack.log >&2; exit 1; }
echo "Windows downloads: build-win/vorkzel-1.0.0-win64.zip, build-win/vorkzel-1.0.0-win64-setup.exe"
