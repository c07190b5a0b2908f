#!/usr/bin/env bash
# Makes the sample pictures and sounds in data/ (all drawn or synthesised here; the results are small and
# committed). The samples made with the movie library (a .dbl background, Flash clips) and the sample
# projects in data/Themes are written at build time by make_gift_samples into the build tree's data/.
# Needs ImageMagick, sox and lame (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/../data"
mkdir -p Background Button Music

# Backgrounds: a 640 x 480 sunrise gradient, a meadow with a sun, a tiling pattern, a night sky.
convert -size 640x480 gradient:'#ffd27f'-'#ff7a59' -quality 80 -interlace none Background/Sunrise.jpg
convert -size 640x480 gradient:'#9fd8ff'-'#e8f7ff' \
    -fill '#5fb84a' -draw 'rectangle 0,340 640,480' \
    -fill '#ffe14d' -draw 'circle 540,90 540,140' -strip Background/Meadow.png
convert -size 40x40 xc:'#fdf1e3' -fill '#f4b7c6' -draw 'circle 20,20 20,30' -strip Background/Dots.gif
convert -size 160x120 gradient:'#0b1d4a'-'#1f3b7a' -fill white \
    -draw "point 15,20" -draw "point 100,10" -draw "point 60,45" -draw "point 140,30" \
    -draw "circle 125,25 125,30" -colors 16 -type Palette BMP3:Background/Night.bmp

# Button faces: an 80 x 40 rounded green face (its corners transparent) and a 60 x 30 gold one.
convert -size 80x40 xc:none -fill '#3aa655' -draw 'roundrectangle 0,0 79,39 10,10' -strip PNG32:Button/Green.png
convert -size 60x30 gradient:'#ffe08a'-'#d9a21b' -quality 85 Button/Gold.jpg

# Music: three seconds of a soft chord, 44.1 kHz, as MP3.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -n -r 44100 -c 2 "$tmp/chord.wav" synth 3 sine 262 sine 330 sine 392 remix 1,2,3 1,2,3 \
    fade q 0.2 3 0.6 vol 0.4
lame --quiet -b 64 --resample 44.1 "$tmp/chord.wav" Music/Chord.mp3
