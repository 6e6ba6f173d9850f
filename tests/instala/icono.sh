#!/usr/bin/env bash
# The Windows icon holds every desktop icon size, each the same picture as its PNG, as ImageMagick
# (a reader of its own) decodes them. Usage: icono.sh BUILD_DIR
set -euo pipefail
dir=$1/iconos tamanos=(16 22 24 32 48 64 128 256)
leidos=$(identify -format '%w ' "$dir/vorkzel.ico")
[ "$leidos" = "${tamanos[*]} " ] || { echo "vorkzel.ico sizes: $leidos" >&2; exit 1; }
for i in "${!tamanos[@]}"; do
    compare -metric AE "$dir/vorkzel.ico[$i]" "$dir/vorkzel-${tamanos[$i]}.png" null: 2>/dev/null ||
        { echo "vorkzel.ico at ${tamanos[$i]} differs from its PNG" >&2; exit 1; }
done
