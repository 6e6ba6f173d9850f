#!/usr/bin/env bash
# Mutation check. Each one-line change listed in scripts/mutantes.tsv is made in turn in a scratch
# copy of the tree; the test programs that can see it are built and run, and the file is put back.
# A change that no test notices survives. Not part of ./run-tests: it takes minutes.
#
# Usage: scripts/mutantes.sh [name-regex]
#   VZ_MUTANTES=dir  the scratch copy and its build (default /tmp/vorkzel-mutantes), kept between
#                    runs so that each run rebuilds only what changed since.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
tabla=$raiz/scripts/mutantes.tsv
filtro=${1:-.}
copia=${VZ_MUTANTES:-${TMPDIR:-/tmp}/vorkzel-mutantes}
arbol=$copia/arbol
informes=$copia/informes
export CCACHE_BASEDIR=$copia
empieza=$(date +%s)
mkdir -p "$arbol" "$informes"

# The scratch tree follows the working tree by content: a file is copied (with a new time) only
# when it differs, so that make rebuilds exactly what changed.
python3 - "$raiz" "$arbol" <<'PY'
import filecmp, os, shutil, sys
origen, destino = sys.argv[1:3]
def archivos(base):
    for d, dirs, fs in os.walk(base):
        if d == base:
            dirs[:] = [x for x in dirs if x not in ('.git', 'build', 'build-win')]
            fs = [f for f in fs if f != '.git']
        for f in fs:
            yield os.path.relpath(os.path.join(d, f), base)
vistos = set(archivos(origen))
for rel in vistos:
    a, b = os.path.join(origen, rel), os.path.join(destino, rel)
    if not os.path.exists(b) or not filecmp.cmp(a, b, shallow=False):
        os.makedirs(os.path.dirname(b), exist_ok=True)
        shutil.copyfile(a, b)
        shutil.copymode(a, b)
for rel in set(archivos(destino)) - vistos:
    os.remove(os.path.join(destino, rel))
PY

# The rows asked for, as name, file, text, replacement, tests, effect. Each test is a program
# whose CTest entry bears its name, or target:entry (the target built, the entry run; no entry:
# only built). Rows with an entry of that kind also rebuild the game and its library.
filas=$(grep -v '^#' "$tabla" | grep -v '^$' | awk -F'\t' -v f="$filtro" '$1 ~ f')
programas=$(cut -f5 <<<"$filas" | tr ',' '\n' | cut -d: -f1 | sort -u)
[ -n "$programas" ] || { echo "no row of $tabla matches '$filtro'" >&2; exit 2; }
# The CTest entries of a list of tests, as a pattern matching each name whole (a parametrised
# case's entry name goes on with "  # GetParam() = ...").
entradas() {
    local e
    e=$(tr ',' '\n' <<<"$1" | sed 's/^[^:]*://' | grep -v '^$' | sed 's/[][\.*^$()+?{}|]/\\&/g')
    echo "^($(paste -sd'|' <<<"$e"))( |\$)"
}
patron=$(entradas "$(cut -f5 <<<"$filas" | paste -sd,)")

cmake -S "$arbol" -B "$arbol/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >"$informes/cmake.txt"
echo "Building and running the unchanged tests: $(paste -sd' ' <<<"$programas")"
# Built twice: make learns the headers each object includes only on the build after it compiled
# it, and the changes below are built without that step ("target/fast").
# shellcheck disable=SC2086
if ! make -C "$arbol/build" -j"$(nproc)" $programas >"$informes/base.txt" 2>&1 ||
    ! make -C "$arbol/build" -j"$(nproc)" $programas >>"$informes/base.txt" 2>&1 ||
    ! (cd "$arbol/build" && ctest -R "$patron" --timeout 300 --output-on-failure \
        >>"$informes/base.txt" 2>&1); then
    echo "The tests fail without any change: see $informes/base.txt" >&2
    exit 2
fi

# Makes one change of `texto` into `cambio` in `archivo` (\n and \t stand for a new line and a
# tab); status 3 when the text is not there, 4 when it is there more than once.
cambia() {
    python3 - "$@" <<'PY'
import sys
archivo, texto, cambio = sys.argv[1], *(s.replace('\\n', '\n').replace('\\t', '\t') for s in sys.argv[2:4])
fuente = open(archivo).read()
veces = fuente.count(texto)
if veces != 1:
    sys.exit(3 if veces == 0 else 4)
open(archivo, 'w').write(fuente.replace(texto, cambio))
PY
}

copia_buena=""
repon() { # puts the file back, with a new time so that the next build recompiles it
    if [ -n "$copia_buena" ]; then
        cp "$copia_buena" "${copia_buena%.bueno}" && touch "${copia_buena%.bueno}"
        rm -f "$copia_buena"
        copia_buena=""
    fi
}
trap repon EXIT

total=0 cazados=0
sobreviven=() ausentes=() rotos=()
while IFS=$'\t' read -r -u 3 nombre archivo texto cambio pruebas efecto; do
    total=$((total + 1))
    ruta=$arbol/$archivo
    antes=$(date +%s)
    cp "$ruta" "$ruta.bueno"
    copia_buena=$ruta.bueno
    estado=0
    cambia "$ruta" "$texto" "$cambio" || estado=$?
    if [ "$estado" -ne 0 ]; then
        repon
        resultado=$([ "$estado" -eq 3 ] && echo "not found" || echo "ambiguous")
        ausentes+=("$nombre ($resultado)")
    else
        objetivos="vzcore_san/fast vz_entorno_base/fast vz_entorno/fast"
        [[ $pruebas == *:* ]] && objetivos+=" vzcore/fast vorkzel/fast"
        for p in ${pruebas//,/ }; do objetivos+=" ${p%%:*}/fast"; done
        # shellcheck disable=SC2086
        if ! make -C "$arbol/build" -j"$(nproc)" $objetivos >"$informes/$nombre.txt" 2>&1; then
            resultado="no build"
            rotos+=("$nombre")
        elif (cd "$arbol/build" && ctest -N -R "$(entradas "$pruebas")" | grep -q '^Total Tests: 0$'); then
            resultado="no test"
            rotos+=("$nombre")
        elif (cd "$arbol/build" && ctest -R "$(entradas "$pruebas")" --timeout 120 --output-on-failure \
            >>"$informes/$nombre.txt" 2>&1); then
            resultado=SURVIVED
            sobreviven+=("$nombre")
        else
            resultado=caught
            cazados=$((cazados + 1))
        fi
        repon
    fi
    printf '%-9s %-22s %4ss  %s: %s\n' "$resultado" "$nombre" "$(($(date +%s) - antes))" \
        "$archivo" "$efecto"
done 3<<<"$filas"

# Leave the scratch build as the tree is, for the next run.
# shellcheck disable=SC2086
make -C "$arbol/build" -j"$(nproc)" $programas >"$informes/fin.txt" 2>&1 || true

echo
echo "Caught $cazados of $total ($((100 * cazados / total))%) in $(($(date +%s) - empieza)) s."
[ ${#sobreviven[@]} -eq 0 ] || echo "Survived: ${sobreviven[*]}"
[ ${#ausentes[@]} -eq 0 ] || echo "Text no longer found, update the table: ${ausentes[*]}"
[ ${#rotos[@]} -eq 0 ] || echo "Does not build or names no test, fix the table: ${rotos[*]}"
echo "Build and test output of each: $informes"
[ "$cazados" -eq "$total" ]
