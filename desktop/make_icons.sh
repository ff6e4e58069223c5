#!/usr/bin/env bash
# Remakes the PNG sizes of the icon from icons/hoshinote.svg (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" hoshinote.svg -o "hoshinote-$size.png"
done
