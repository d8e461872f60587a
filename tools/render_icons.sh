#!/usr/bin/env bash
# Renders the app icon's PNG sizes from its SVG into the hicolor tree under packaging/icons. The PNGs are
# committed, so the build needs no SVG renderer; run this again after changing the SVG.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
icons="$root/packaging/icons/hicolor"
svg="$icons/scalable/apps/com.k7mn2.dovrin.svg"

for size in 16 24 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" "$svg" --output "$icons/${size}x${size}/apps/com.k7mn2.dovrin.png"
done
