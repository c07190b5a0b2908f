#!/usr/bin/env bash
# Draws the art of the occasion themes (a 640 x 480 background, a button face with transparent corners)
# and synthesises their music (a short tune as MP3), all into data/. The results are small and committed;
# run this again after changing a drawing or a tune. Needs ImageMagick, sox and lame (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/../data"
mkdir -p Background Button Music
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A 640 x 480 background: a vertical gradient, then ImageMagick draw primitives given as arguments.
background() { # output top-colour bottom-colour draw-arguments...
    local out=$1 top=$2 bottom=$3
    shift 3
    convert -size 640x480 gradient:"$top"-"$bottom" "$@" -strip -quality 82 -interlace none "$out"
}

# A heart of about `size` pixels centred on x,y, as a path of two cubic curves.
heart() { # x y size
    local x=$1 y=$2 s=$3
    echo "path 'M $x,$((y + s / 2)) C $((x - s)),$((y - s / 4)) $((x - s / 2)),$((y - s)) $x,$((y - s / 3)) C $((x + s / 2)),$((y - s)) $((x + s)),$((y - s / 4)) $x,$((y + s / 2)) Z'"
}

# A button face: a rounded gradient with a light rim; the corners outside the rounding are transparent.
button() { # output top-colour bottom-colour rim-colour [width height radius]
    local out=$1 top=$2 bottom=$3 rim=$4 w=${5:-90} h=${6:-36} r=${7:-16}
    convert -size "${w}x${h}" gradient:"$top"-"$bottom" -alpha set \
        \( -size "${w}x${h}" xc:none -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \) \
        -compose DstIn -composite -compose Over \
        -fill none -stroke "$rim" -strokewidth 2 -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $((r - 1)),$((r - 1))" \
        -strip "PNG32:$out"
}

# A tune: notes as SEMITONES:SECONDS (semitones from A4 = 440 Hz, "r" for a rest), plucked, over a soft
# pad of the first chord given in PAD (semitones, space-separated), at 22.05 kHz mono, 32 kbit/s MP3.
tune() { # output "pad semitones" notes...
    local out=$1 pad=$2
    shift 2
    local parts=() i=0 total=0
    for note in "$@"; do
        local pitch=${note%:*} length=${note#*:}
        local part="$tmp/note$i.wav"
        if [ "$pitch" = r ]; then
            sox -n -r 22050 -c 1 "$part" trim 0 "$length"
        else
            sox -n -r 22050 -c 1 "$part" synth "$length" pluck %"$pitch" fade 0 "$length" 0.08 vol 0.6
        fi
        parts+=("$part")
        total=$(echo "$total + $length" | bc -l)
        i=$((i + 1))
    done
    sox "${parts[@]}" "$tmp/melody.wav"
    local voices=()
    for p in $pad; do voices+=(sine %"$p"); done
    sox -n -r 22050 -c 1 "$tmp/pad.wav" synth "$total" "${voices[@]}" fade q 0.5 "$total" 0.8 vol 0.12
    sox -m "$tmp/melody.wav" "$tmp/pad.wav" "$tmp/tune.wav" norm -3
    lame --quiet -m m -b 32 "$tmp/tune.wav" "$out"
}

# --- Thank you: peach with flowers ----------------------------------------------------------------------
flowers=()
for xy in "90,380" "540,120" "580,400" "70,90" "320,430"; do
    x=${xy%,*} y=${xy#*,}
    flowers+=(-fill '#ff9f80' -draw "circle $((x - 14)),$y $((x - 4)),$y" -draw "circle $((x + 14)),$y $((x + 24)),$y"
        -draw "circle $x,$((y - 14)) $x,$((y - 4))" -draw "circle $x,$((y + 14)) $x,$((y + 24))"
        -fill '#ffd34d' -draw "circle $x,$y $((x + 8)),$y")
done
background Background/ThankYou.jpg '#fff1e0' '#ffc9a8' "${flowers[@]}"
button Button/ThankYou.png '#ff9a76' '#e8643c' '#ffd8c8'
tune Music/ThankYou.mp3 "-9 -5 -2" -9:0.3 -5:0.3 -2:0.3 3:0.6 1:0.3 -2:0.3 -5:0.6 r:0.2 -9:0.3 -5:0.3 -2:0.3 -4:0.9

# --- Wedding: ivory to blush, two rings and small hearts ----------------------------------------------
background Background/Wedding.jpg '#fffaf0' '#f6d6dc' \
    -fill none -stroke '#c9a227' -strokewidth 9 -draw 'circle 280,230 280,300' -draw 'circle 360,230 360,300' \
    -stroke none -fill '#e88fa5' -draw "$(heart 110 110 40)" -draw "$(heart 530 380 50)" -draw "$(heart 540 90 30)"
button Button/Wedding.png '#ffffff' '#efe4d2' '#c9a227'
tune Music/Wedding.mp3 "-9 -5 0" -9:0.45 -4:0.45 -4:0.3 -4:0.6 r:0.15 -9:0.45 -2:0.45 -4:0.3 -5:0.6 r:0.15 -9:0.45 -4:0.45 -2:0.3 0:0.9

# --- New baby: sky with clouds and stars --------------------------------------------------------------
stars=()
for xy in "80,60" "200,120" "560,70" "470,160" "610,250" "40,240"; do
    x=${xy%,*} y=${xy#*,}
    stars+=(-fill '#fff3a0' -draw "polygon $x,$((y - 12)) $((x + 4)),$((y - 4)) $((x + 12)),$((y - 4)) $((x + 6)),$((y + 2)) $((x + 8)),$((y + 11)) $x,$((y + 6)) $((x - 8)),$((y + 11)) $((x - 6)),$((y + 2)) $((x - 12)),$((y - 4)) $((x - 4)),$((y - 4))")
done
background Background/NewBaby.jpg '#cfe9ff' '#e6fff4' "${stars[@]}" -fill white \
    -draw 'ellipse 170,390 110,38 0,360' -draw 'ellipse 230,365 70,40 0,360' \
    -draw 'ellipse 490,420 120,36 0,360' -draw 'ellipse 430,395 60,36 0,360'
button Button/NewBaby.png '#fff6b0' '#ffd966' '#ffffff' 90 36 18
tune Music/NewBaby.mp3 "-9 -5 -2" 3:0.35 -2:0.35 -2:0.35 r:0.1 3:0.35 -2:0.35 -2:0.35 r:0.1 5:0.35 3:0.35 1:0.35 -2:0.35 -5:0.9

# --- Get well: spring green with a sun and a tulip ----------------------------------------------------
background Background/GetWell.jpg '#e9fbe5' '#b9e8b0' \
    -fill '#ffd84d' -draw 'circle 540,100 540,150' -stroke '#ffd84d' -strokewidth 6 \
    -draw 'line 540,20 540,36' -draw 'line 540,164 540,180' -draw 'line 460,100 476,100' -draw 'line 604,100 620,100' \
    -stroke '#3f8f3a' -strokewidth 6 -draw 'line 110,470 110,340' -stroke none \
    -fill '#e8505b' -draw 'ellipse 110,320 34,40 0,360' -fill '#c93a47' -draw 'polygon 82,300 96,330 110,290 124,330 138,300 138,340 82,340'
button Button/GetWell.png '#9be3b4' '#4fb57a' '#e6fff0'
tune Music/GetWell.mp3 "-5 -1 2" -5:0.3 -1:0.3 2:0.3 -1:0.3 2:0.6 7:0.6 r:0.2 5:0.3 2:0.3 -1:0.3 2:0.3 -5:0.9

# --- Season's greetings: night, snow and a tree -------------------------------------------------------
RANDOM=7 # the same snow and confetti at every run
snow=()
for i in $(seq 0 40); do
    x=$((RANDOM % 640)) y=$((RANDOM % 330))
    snow+=(-draw "circle $x,$y $((x + 2 + i % 3)),$y")
done
background Background/Seasons.jpg '#0d2350' '#27467d' -fill white "${snow[@]}" \
    -fill '#eef4ff' -draw 'ellipse 320,480 420,70 0,360' \
    -fill '#2f7d46' -draw 'polygon 320,190 250,300 390,300' -draw 'polygon 320,240 230,370 410,370' \
    -fill '#6b3f1f' -draw 'rectangle 306,370 334,410' -fill '#ffd84d' -draw 'circle 320,186 320,198'
button Button/Seasons.png '#e0454f' '#a51f2b' '#ffffff'
tune Music/Seasons.mp3 "-14 -10 -7" -7:0.3 -7:0.3 -7:0.6 -7:0.3 -7:0.3 -7:0.6 -7:0.3 -4:0.3 -11:0.45 -9:0.15 -7:1.0

# --- Valentine: pink hearts ---------------------------------------------------------------------------
hearts=()
for xys in "90,110,60" "540,90,46" "580,380,70" "120,400,50" "320,60,30" "420,440,34"; do
    IFS=, read -r x y s <<<"$xys"
    hearts+=(-draw "$(heart "$x" "$y" "$s")")
done
background Background/Valentine.jpg '#ffe3ec' '#ff9fb8' -fill '#e8335a' "${hearts[@]}"
button Button/Valentine.png '#ff6f8e' '#d6244d' '#ffd0dc' 90 36 18
tune Music/Valentine.mp3 "-9 -5 -2" -2:0.45 -4:0.15 -5:0.6 -9:0.6 r:0.15 -2:0.45 -4:0.15 -5:0.3 -2:0.3 3:1.0

# --- Graduation: a cap and confetti --------------------------------------------------------------------
confetti=()
colours=('#ffd84d' '#ff7a8a' '#7ad0ff' '#9bf0a0')
for i in $(seq 0 30); do
    x=$((RANDOM % 620)) y=$((RANDOM % 460))
    confetti+=(-fill "${colours[$((i % 4))]}" -draw "rectangle $x,$y $((x + 8)),$((y + 5))")
done
background Background/Graduation.jpg '#1d2a6b' '#4b2a7a' "${confetti[@]}" \
    -fill '#111522' -draw 'polygon 320,150 440,200 320,250 200,200' -draw 'rectangle 270,220 370,270' \
    -stroke '#ffd84d' -strokewidth 4 -draw 'line 320,200 410,240' -draw 'line 410,240 410,290' -stroke none
button Button/Graduation.png '#ffe27a' '#d9a21b' '#fff4c8'
tune Music/Graduation.mp3 "-9 -5 -2" -9:0.3 -5:0.3 -2:0.3 3:0.6 -2:0.3 3:0.9 r:0.2 -2:0.3 0:0.3 2:0.3 3:1.0

# --- Invitation: balloons on champagne -----------------------------------------------------------------
balloons=()
for xyc in "100,160,#ff6f8e" "180,120,#7ad0ff" "480,140,#ffd84d" "560,190,#9b7aff"; do
    IFS=, read -r x y c <<<"$xyc"
    balloons+=(-stroke '#8a7a60' -strokewidth 2 -draw "line $x,$((y + 44)) $((x + 10)),$((y + 160))" -stroke none
        -fill "$c" -draw "ellipse $x,$y 34,44 0,360")
done
background Background/Invitation.jpg '#fff8e6' '#f2deb0' "${balloons[@]}"
button Button/Invitation.png '#a884ff' '#6a45d9' '#e6dcff'
tune Music/Invitation.mp3 "-9 -5 -2" 3:0.2 3:0.2 5:0.2 3:0.4 8:0.4 7:0.8 r:0.2 3:0.2 3:0.2 5:0.2 3:0.4 10:0.4 8:0.8

# --- Farewell: sunset over a hill with birds ------------------------------------------------------------
background Background/Farewell.jpg '#ffb36b' '#7a4fa0' \
    -fill '#ffe08a' -draw 'circle 320,330 320,390' -fill '#3d2d5c' -draw 'ellipse 320,520 480,160 0,360' \
    -fill none -stroke '#3d2d5c' -strokewidth 4 \
    -draw "path 'M 140,120 Q 155,105 170,120 Q 185,105 200,120'" -draw "path 'M 420,80 Q 432,68 444,80 Q 456,68 468,80'"
button Button/Farewell.png '#4fc3c0' '#2a8a88' '#d6fffe'
tune Music/Farewell.mp3 "-12 -9 -5" -5:0.45 -7:0.45 -9:0.45 -12:0.9 r:0.2 -9:0.45 -7:0.45 -5:0.45 -4:0.45 -5:1.1

# --- Pictures and tunes of the birthday greeting, the quiz and the story -------------------------------
background Background/Balloons.jpg '#fdf6ff' '#d9ecff' \
    -stroke '#777777' -strokewidth 2 -draw 'line 200,230 260,470' -draw 'line 320,190 320,470' -draw 'line 440,230 380,470' \
    -stroke none -fill '#ff6f8e' -draw 'ellipse 200,180 50,62 0,360' -fill '#ffd84d' -draw 'ellipse 320,140 50,62 0,360' \
    -fill '#7ad0ff' -draw 'ellipse 440,180 50,62 0,360'
background Background/Treasure.jpg '#153a5c' '#0a1f33' \
    -fill '#7a4a1f' -draw 'rectangle 220,240 420,360' -fill '#9b6430' -draw 'roundrectangle 220,190 420,250 30,30' \
    -fill '#d9a21b' -draw 'rectangle 220,236 420,248' -draw 'rectangle 306,236 334,290' \
    -fill '#ffe27a' -draw 'circle 270,228 270,236' -draw 'circle 370,222 370,230' -draw 'circle 320,214 320,222'
tune Music/Quiz.mp3 "-9 -5 0" -9:0.2 -5:0.2 0:0.2 3:0.4 0:0.2 3:0.6 r:0.3 -2:0.2 2:0.2 5:0.4 3:0.8
tune Music/Forest.mp3 "-14 -10 -7" -7:0.5 -4:0.5 0:0.5 -2:1.0 r:0.2 -4:0.5 -7:0.5 -9:0.5 -7:1.2
