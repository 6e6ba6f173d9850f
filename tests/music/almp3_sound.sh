#!/usr/bin/env bash
# Runs the real-sound MP3 test under a private Xvfb, with ALSA writing what Allegro plays to a
# file instead of a sound card. Usage: almp3_sound.sh <almp3_test binary> [gtest options]
set -euo pipefail
test_bin=$1
shift
dir=$(mktemp -d /tmp/almp3-sound-XXXXXX)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it out once it is ready.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$dir/display" ] && break || sleep 0.1; done
[ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }

printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n' \
    "$dir/out.raw" >"$dir/alsa.conf"
DISPLAY=":$(head -n1 "$dir/display")" ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$dir/alsa.conf" \
    ALMP3_CAPTURE="$dir/out.raw" "$test_bin" --gtest_filter='Almp3Sound.*' "$@"
