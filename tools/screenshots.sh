#!/bin/sh
# Renders the documentation's pictures of stickies into docs/screenshots (or the folder given).
# Run by hand from a configured build tree; CI does not run it.
#
#   tools/screenshots.sh [build folder] [output folder]
#
# The stickies are drawn offscreen at twice the normal scale. The sticky_preview target must be part
# of the build (tools/sticky_preview).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out=${2:-"$root/docs/screenshots"}

cmake --build "$build" --target sticky_preview -- -j2
preview=$(find "$build" -type f -name sticky_preview -perm -u+x | head -n 1)
if [ -z "$preview" ]; then
    echo "sticky_preview was not built in $build" >&2
    exit 1
fi

mkdir -p "$out"
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$preview" "$out"
