#!/bin/sh
# Takes the documentation's pictures of stickies, their editing overlays, toasts, the search panel and the
# app's windows: the real ones, with their editor page, shown on a private Xvfb display, written into
# docs/screenshots (or the folder given). Run by hand; CI does not.
#
#   tools/screenshots.sh [build folder] [output folder]
#
# The build folder must be configured with the stickies, shell and editor areas, e.g.
#   cmake -S . -B build-shots -G Ninja -DDOVRIN_AREAS="core;bridge;store;agent;editor;stickies;shell"
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out=${2:-"$root/docs/screenshots"}

cmake --build "$build" --target sticky_preview toast_preview window_preview dovrin_editor -- -j2
preview="$build/tools/sticky_preview/sticky_preview"
toast_preview="$build/tools/toast_preview/toast_preview"
for tool in "$preview" "$toast_preview"; do
    if [ ! -x "$tool" ]; then
        echo "$(basename "$tool") was not built in $build" >&2
        exit 1
    fi
done

# Xvfb picks a free display itself and writes its number to descriptor 3. At twice the scale the screen is
# 1000 × 800 points: room for the stickies side by side and a slash menu opening below one of them.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 2000x1600x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; rm -f "$display_file"' EXIT
trap 'exit 1' INT TERM
waited=0
while [ ! -s "$display_file" ]; do
    if ! kill -0 "$xvfb" 2>/dev/null || [ "$waited" -ge 100 ]; then
        echo "Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done
display=:$(head -n 1 "$display_file")

mkdir -p "$out"
# Twice the normal scale, so the pictures stay sharp on dense screens. The dark note needs a process of
# its own: Chromium takes the colour scheme once, at start.
for appearance in light dark; do
    DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 \
        QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" \
        "$preview" "$out" "$appearance"
done
DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 "$toast_preview" "$out"
windows="$build/tools/window_preview/window_preview"
for window in $("$windows" --list); do
    DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 \
        QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" "$windows" "$window" "$out"
done
