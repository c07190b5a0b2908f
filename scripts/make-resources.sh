#!/usr/bin/env bash
# Draws the pictures in data/Resource that the background and button picker shows in place of a thumbnail:
# the Flash clip tiles (a film strip: flash.gif for backgrounds, flash_btn.gif for buttons), the DBL tile
# (a picture frame, dbl.gif), and the two 120 x 80 preview pictures: "[ empty ]" before a file is chosen
# and the Flash placeholder.
# All drawn here with ImageMagick; the results are small and committed.
set -euo pipefail
cd "$(dirname "$0")/../data"
mkdir -p Resource

# A film strip: a dark band with sprocket holes along both edges and two light frames, "SWF" below.
film_tile() { # width height strip-height output
    local w=$1 h=$2 sh=$3 out=$4
    local sw=$((sh * 3 / 2)) # the strip's width
    local x=$(((w - sw) / 2)) y=$(((h - sh) / 2 - 5))
    local holes=() frames=()
    local hole=$((sh / 9)) step=$((sh / 4))
    for ((hx = x + hole; hx + hole < x + sw; hx += step)); do
        holes+=(-draw "rectangle $hx,$((y + hole / 2)) $((hx + hole)),$((y + hole / 2 + hole))"
            -draw "rectangle $hx,$((y + sh - hole / 2 - hole)) $((hx + hole)),$((y + sh - hole / 2))")
    done
    local fy=$((y + 2 * hole)) fh=$((sh - 4 * hole)) fw=$(((sw - 3 * hole) / 2))
    frames+=(-draw "rectangle $((x + hole)),$fy $((x + hole + fw)),$((fy + fh))"
        -draw "rectangle $((x + 2 * hole + fw)),$fy $((x + 2 * hole + 2 * fw)),$((fy + fh))")
    convert -size "${w}x${h}" xc:white -fill '#4a4f57' -draw "rectangle $x,$y $((x + sw)),$((y + sh))" \
        -fill white "${holes[@]}" -fill '#b8cce0' "${frames[@]}" \
        -fill '#555555' -font DejaVu-Sans -pointsize 10 -gravity south -annotate +0+2 'SWF' \
        -strip "$out"
}
film_tile 120 100 54 Resource/flash.gif
film_tile 120 60 36 Resource/flash_btn.gif
film_tile 120 80 46 Resource/flash_preview.png

# A DBL bitmap without its preview: a wooden picture frame holding hills under a sun, "DBL" below.
convert -size 120x100 xc:white -fill '#9b6430' -draw 'rectangle 28,14 92,70' -fill '#dcecf8' \
    -draw 'rectangle 34,20 86,64' -fill '#7cc47a' -draw 'polygon 34,64 50,42 62,54 72,44 86,60 86,64' \
    -fill '#9b6430' -draw 'rectangle 28,64 92,70' \
    -fill '#ffcf40' -draw 'circle 74,32 74,37' \
    -fill '#555555' -font DejaVu-Sans -pointsize 10 -gravity south -annotate +0+6 'DBL' -strip Resource/dbl.gif

# Before a file is chosen.
convert -size 120x80 xc:white -fill '#777777' -font DejaVu-Sans -pointsize 13 -gravity center \
    -annotate +0+0 '[ empty ]' -strip Resource/empty.png
