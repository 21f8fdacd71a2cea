#!/usr/bin/env bash
# Renders the PNG sizes of the program and document icons from their SVGs (ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$size"
  for name in ladograf application-x-ladograf-config; do
    convert -background none -density 300 "$name.svg" -strip -resize "${size}x${size}" "PNG32:$size/$name.png"
  done
done
