#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 600), one after another on one core, from the
# seeds and what earlier runs found (build/fuzz/trabajo). Builds them first if needed.
# Usage: scripts/fuzz.sh [SECONDS] [target...]   targets: nivel ranking herramienta mp3
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-600}
shift || true
objetivos=("$@")
[ ${#objetivos[@]} -gt 0 ] || objetivos=(nivel ranking herramienta mp3)
[ -d build ] || scripts/prepara.sh tests
cmake --build build --target vz_fuzz -j1 >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/comun/lsan.supp
for t in "${objetivos[@]}"; do
    echo "== fuzz_$t, $segundos s"
    registro=build/fuzz/trabajo/$t.log
    mkdir -p build/fuzz/trabajo
    rc=0
    tests/fuzz/corre.sh "$PWD/build/fuzz/fuzz_$t" "$PWD/tests/fuzz" "$PWD/build/fuzz/trabajo" \
        "$segundos" >"$registro" 2>&1 || rc=$?
    grep -E '^(stat::number_of_executed_units|#[0-9]+ *DONE|==[0-9]+==ERROR|SUMMARY)' "$registro" || true
    [ $rc -eq 0 ] || { echo "fuzz_$t found a fault: see $registro and build/fuzz/trabajo/$t-*"; exit 1; }
done
