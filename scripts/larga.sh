#!/usr/bin/env bash
# Long run: the staged game in a real window under Xvfb, sound going to ALSA's null device, an
# MP3 song in its music folder, left on the title sequence and then driven through a game by
# xdotool, over and over, for MINUTES (default 30). The game's resident memory (VmRSS) is sampled
# every 10 s into build/larga.csv; the summary compares the first and the last samples.
# Usage: scripts/larga.sh [MINUTES]
set -euo pipefail
cd "$(dirname "$0")/.."
minutos=${1:-30}
[ -x build/run/vorkzel ] || scripts/prepara.sh tests
dir=$(mktemp -d /tmp/vz-larga-XXXXXX)
xvfb_pid= juego_pid=
limpia() {
    for p in $juego_pid $xvfb_pid; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$dir"
}
trap limpia EXIT

cp -r build/run/datos build/run/levels build/run/midi build/run/mp3 "$dir"
# A 40-second song, so that songs end and start again during the run.
python3 - "$dir/tono.wav" <<'PY'
import math, struct, sys, wave
f = wave.open(sys.argv[1], 'wb'); f.setnchannels(2); f.setsampwidth(2); f.setframerate(22050)
f.writeframes(b''.join(struct.pack('<hh', *(2 * [int(6000 * math.sin(i * (0.06 + 0.02 * (i // 22050 % 4))))]))
                       for i in range(22050 * 40)))
PY
lame --quiet -b 64 "$dir/tono.wav" "$dir/mp3/tono.mp3" && rm "$dir/tono.wav"

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$dir/display" ] && break || sleep 0.1; done
export DISPLAY=":$(head -n1 "$dir/display")"
xset r off
printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "/dev/null"\n format "raw"\n}\n' >"$dir/alsa.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$dir/alsa.conf"

(cd "$dir" && exec "$OLDPWD/build/run/vorkzel" 2>"$dir/err.log") &
juego_pid=$!
ventana=$(timeout 30 xdotool search --sync --name "VORK-ZEL 2003" | head -n1)
xdotool windowfocus --sync "$ventana"

csv=build/larga.csv
echo "seconds,rss_kb" >"$csv"
inicio=$(date +%s)
fin=$((inicio + 60 * minutos))
proxima_muestra=$inicio
juegos=0
muestra() {
    local ahora
    ahora=$(date +%s)
    [ "$ahora" -ge "$proxima_muestra" ] || return 0
    kill -0 "$juego_pid" 2>/dev/null || { echo "the game ended on its own" >&2; cat "$dir/err.log" >&2; exit 1; }
    echo "$((ahora - inicio)),$(awk '/^VmRSS/ {print $2}' "/proc/$juego_pid/status")" >>"$csv"
    proxima_muestra=$((proxima_muestra + 10))
}
espera() { # seconds, sampling meanwhile
    local hasta=$(($(date +%s) + $1))
    while [ "$(date +%s)" -lt "$hasta" ]; do muestra; sleep 1; done
}
while [ "$(date +%s)" -lt "$fin" ]; do
    espera 40 # the title pictures and the three ranking tables
    xdotool key Return; sleep 1; xdotool key Down; sleep 0.5; xdotool key Return # a game on "QUIERO JUGAR"
    juegos=$((juegos + 1))
    # Steering for two minutes; Return now and then gets through banners, end screens and initials.
    for i in $(seq 240); do
        if [ $((i % 8)) -eq 0 ]; then xdotool key Return; else xdotool key "$([ $((RANDOM % 2)) -eq 0 ] && echo Up || echo Down)"; fi
        sleep 0.5
        muestra
    done
done
muestra
awk -F, -v juegos="$juegos" 'NR > 1 { n++; r[n] = $2; if (min == "" || $2 < min) min = $2; if ($2 > max) max = $2 }
    END { printf "samples %d over %d min, games started %d\nRSS kB: first %d, after 5 min %d, min %d, max %d, last %d\n",
          n, r[n] ? (n - 1) / 6 : 0, juegos, r[1], r[31], min, max, r[n] }' "$csv"
