#!/usr/bin/env bash
# Draws the pictures in data/Resource that the background and button picker shows in place of a thumbnail:
# the Flash clip tiles (flash.gif for backgrounds, flash_btn.gif for buttons), the DBL tile (dbl.gif), and
# the two 120 x 80 preview pictures: "[ empty ]" before a file is chosen and the Flash placeholder.
# All drawn here with ImageMagick; the results are small and committed.
set -euo pipefail
cd "$(dirname "$0")/../data"
mkdir -p Resource

# A rounded red badge with a white "f" in the middle of a white tile.
flash_tile() { # width height badge-side output
    local w=$1 h=$2 s=$3 out=$4
    local x=$(((w - s) / 2)) y=$(((h - s) / 2))
    convert -size "${w}x${h}" xc:white \
        -fill '#c8102e' -draw "roundrectangle $x,$y $((x + s)),$((y + s)) $((s / 6)),$((s / 6))" \
        -fill white -font DejaVu-Sans-Bold -pointsize $((s * 3 / 4)) -gravity center -annotate +0+0 'f' \
        -fill '#555555' -font DejaVu-Sans -pointsize 10 -gravity south -annotate +0+2 'SWF' \
        -strip "$out"
}
flash_tile 120 100 56 Resource/flash.gif
flash_tile 120 60 36 Resource/flash_btn.gif
flash_tile 120 80 46 Resource/flash_preview.png

# A DBL bitmap without its preview: a blue picture frame with "DBL".
convert -size 120x100 xc:white -fill '#dce8f5' -stroke '#2f5d8a' -strokewidth 2 \
    -draw 'rectangle 30,22 90,70' -stroke none -fill '#2f5d8a' -font DejaVu-Sans-Bold -pointsize 16 \
    -gravity center -annotate +0-4 'DBL' -strip Resource/dbl.gif

# Before a file is chosen.
convert -size 120x80 xc:white -fill '#777777' -font DejaVu-Sans -pointsize 13 -gravity center \
    -annotate +0+0 '[ empty ]' -strip Resource/empty.png
