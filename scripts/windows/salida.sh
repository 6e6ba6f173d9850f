#!/usr/bin/env bash
# Runs the check program N times under Wine as a player would end it (window focused, a few keys,
# Esc) and counts the runs that end by themselves within 20 s of the Esc; exits 1 if any did not.
# Usage: salida.sh N [PROGRAM.exe]   (default build-win/sonda.exe; one scratch prefix for all)
set -euo pipefail
cd "$(dirname "$0")/../.."
n=${1:-20} programa=$(realpath "${2:-build-win/sonda.exe}")
dir=$(mktemp -d /tmp/vz-salida-XXXXXX)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
export WINEPREFIX=$dir/prefijo
fin() {
    local estado=$?
    wineserver -k 2>/dev/null || true
    kill $xvfb && wait $xvfb 2>/dev/null || true
    rm -rf "$dir"
    exit $estado
}
trap fin EXIT
for _ in $(seq 100); do [ -s "$dir/display" ] && break || sleep 0.1; done
export DISPLAY=":$(head -n1 "$dir/display")"

bien=0
for i in $(seq "$n"); do
    inicio=$(date +%s%N)
    : >"$dir/salida" # emptied here, so the wait below never reads the last run's lines
    scripts/windows/wine.sh "$WINEPREFIX" 60 "$programa" 30 >>"$dir/salida" 2>/dev/null &
    wine=$!
    for _ in $(seq 400); do grep -q '^ready' "$dir/salida" && break || sleep 0.1; done
    # A start that hung has no window: the run then fails below.
    ventana=$(xdotool search --name '^sonda$' | head -n1) || true
    xdotool windowfocus --sync "$ventana" key a b Return 2>/dev/null || true
    sleep 0.3
    xdotool key Escape 2>/dev/null || true
    esc=$(date +%s%N)
    estado=0
    for _ in $(seq 200); do kill -0 $wine 2>/dev/null || break; sleep 0.1; done
    kill -0 $wine 2>/dev/null && { wineserver -k || true; }
    wait $wine || estado=$?
    fin=$(date +%s%N)
    grep -q '^end' "$dir/salida" && [ "$estado" = 0 ] && bien=$((bien + 1))
    echo "run $i: status $estado, keys $(grep -c '^key ' "$dir/salida"), start to Esc $(( (esc - inicio) / 1000000 )) ms, Esc to end $(( (fin - esc) / 1000000 )) ms"
done
echo "$bien of $n runs ended by themselves"
[ "$bien" = "$n" ]
