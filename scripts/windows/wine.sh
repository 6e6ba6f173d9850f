#!/usr/bin/env bash
# Runs a Windows program under Wine in a scratch prefix, in a real window, with everything it plays
# written to a file, and ends it with its prefix's Wine processes when it outlives its time.
#
# Usage: wine.sh PREFIX SECONDS PROGRAM.exe [ARGUMENTS...]
#   PREFIX   the Wine prefix, made the first time it is named (about 11 s): one per test run
#   SECONDS  how long the program may run; past that every Wine process of PREFIX is killed and
#            the status is 124, as timeout(1) has it; otherwise the status is the program's
#   PROGRAM  `start` starts a file as Explorer does (`start /unix SHORTCUT.lnk`) and returns at
#            once: the run then lasts until every program of the prefix has ended
# Environment:
#   DISPLAY     an X server of the caller's; without it a private Xvfb serves this one run
#   VZ_CAPTURA  the file that receives the sound (32-bit float little-endian stereo, 48 kHz);
#               PREFIX/sonido.raw by default
set -euo pipefail
[ $# -ge 3 ] || { sed -n '4,15p' "$0" >&2; exit 2; }
prefijo=$(realpath -m "$1") segundos=$2 programa=$3
shift 3

export WINEPREFIX=$prefijo WINEDEBUG=${WINEDEBUG:--all}
# Wine reads Unix file names in the locale's character set: a folder "Begoña" needs UTF-8.
export LC_ALL=C.UTF-8
# No menu entries in the user's desktop, no offers to install Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

xvfb_pid= alsa=
fin() {
    wineserver -k 2>/dev/null || true
    [ -z "$alsa" ] || rm -rf "$alsa"
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap fin EXIT

mkdir -p "$prefijo/xvfb"
if [ -z "${DISPLAY:-}" ]; then
    rm -f "$prefijo/xvfb/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$prefijo/xvfb/display" >"$prefijo/xvfb/log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$prefijo/xvfb/display" ] && break || sleep 0.1; done
    [ -s "$prefijo/xvfb/display" ] || { cat "$prefijo/xvfb/log" >&2; echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$prefijo/xvfb/display")"
fi

if [ ! -f "$prefijo/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # Unmanaged windows: with no window manager, Wine waits 2 s for one whenever a window hides.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi

# ALSA's default device writes to a file: Wine's sound output has a device and a test has the numbers.
# ALSA reads no configuration from a path with a blank in it: the file goes to a folder of its own.
captura=${VZ_CAPTURA:-$prefijo/sonido.raw}
alsa=$(mktemp -d /tmp/vz-alsa-XXXXXX)
printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n' \
    "$captura" >"$alsa/alsa.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$alsa/alsa.conf"

# Waited for in the background, so that a TERM (a test giving up) ends the prefix at once too.
timeout --kill-after=5 "$segundos" \
    bash -c 'wine "$@" && if [ "$1" = start ]; then wineserver -w; fi' bash "$programa" "$@" &
trap 'exit 143' TERM INT
estado=0
wait $! || estado=$?
exit "$estado"
