#!/usr/bin/env bash
# corre.sh TARGET FUZZ_DIR WORK_DIR SECONDS: fuzz TARGET from its seeds for SECONDS, then replay
# every input kept under crash/. Fails on any crash, leak or undefined behaviour.
set -euo pipefail
objetivo=$1 fuentes=$2 trabajo=$3 segundos=$4
nombre=$(basename "$objetivo")
nombre=${nombre#fuzz_}
mkdir -p "$trabajo/$nombre"
cd "$trabajo"
"$objetivo" -max_total_time="$segundos" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$trabajo/$nombre-" "$trabajo/$nombre" "$fuentes/corpus/$nombre"
if [ -d "$fuentes/crash/$nombre" ] && [ -n "$(ls -A "$fuentes/crash/$nombre")" ]; then
    "$objetivo" "$fuentes/crash/$nombre"/*
fi
