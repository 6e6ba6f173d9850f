#!/usr/bin/env bash
# Runs a command under a private Xvfb with ALSA writing everything played to a file instead of a
# sound card; the command finds the file's path in VZ_CAPTURA.
# Usage: con_sonido.sh <command> [arguments...]
set -euo pipefail
dir=$(mktemp -d /tmp/vz-sonido-XXXXXX)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" && wait "$xvfb_pid"; rm -rf "$dir"' EXIT

# Xvfb picks a free display number itself and writes it out once it is ready.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$dir/display" ] && break || sleep 0.1; done
[ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }

printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n' \
    "$dir/out.raw" >"$dir/alsa.conf"
export DISPLAY=":$(head -n1 "$dir/display")"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$dir/alsa.conf"
export VZ_CAPTURA="$dir/out.raw"
"$@"
