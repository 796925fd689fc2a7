#!/bin/sh
# Regenerates every PNG in this folder from its SVG source.
#
# Needs rsvg-convert, from librsvg (Debian/Ubuntu: apt-get install librsvg2-bin).
#
#   tabulet.svg           -> tabulet-32/48/64/128/256.png (program icon, hicolor sizes)
#   src/tabulet-16.svg    -> tabulet-16.png (the icon redrawn pixel by pixel for 16 px)
#   src/NAME.svg          -> NAME.png, 16 x 16 toolbar glyphs
set -eu

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render.sh: rsvg-convert is needed (package librsvg2-bin)" >&2
    exit 1
fi

cd "$(dirname "$0")"

render() { # svg size png
    rsvg-convert --width "$2" --height "$2" --format png --output "$3" "$1"
    echo "$3"
}

for size in 32 48 64 128 256; do
    render tabulet.svg "$size" "tabulet-$size.png"
done
render src/tabulet-16.svg 16 tabulet-16.png

for name in new open save cut copy paste preferences print undo redo; do
    render "src/$name.svg" 16 "$name.png"
done
