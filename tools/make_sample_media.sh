#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures and synthesises the sounds of the built-in templates into
# data/Sample/Image and data/Sample/Audio. Needs ImageMagick (convert) and sox; the
# results are committed, so a build never runs this.
set -euo pipefail
cd "$(dirname "$0")/.."
IMG=data/Sample/Image
AUD=data/Sample/Audio
mkdir -p "$IMG" "$AUD"
CONVERT=/usr/bin/convert
# Same pixels on every run: no time stamps or comments in the files.
STRIP=(-strip)

icon() {  # name size background draw...
  local name=$1 size=$2; shift 2
  $CONVERT -size "${size}x${size}" xc:none "$@" "${STRIP[@]}" "$IMG/$name.gif"
}

# ToolBar: 20 x 20 icons.
icon tb_new 20 -fill white -stroke '#404040' -draw 'polygon 4,2 12,2 16,6 16,18 4,18' \
  -fill '#d0d0d0' -draw 'polygon 12,2 12,6 16,6'
icon tb_open 20 -fill '#e8b830' -stroke '#806010' -draw 'polygon 2,6 7,6 9,8 17,8 17,17 2,17' \
  -fill '#f8d868' -draw 'polygon 4,10 19,10 16,17 2,17'
icon tb_save 20 -fill '#3050a0' -stroke '#182850' -draw 'rectangle 2,2 17,17' \
  -fill white -stroke none -draw 'rectangle 5,3 14,8' -fill '#c0c0c0' -draw 'rectangle 6,12 13,17'
icon tb_print 20 -fill white -stroke '#404040' -draw 'rectangle 6,2 14,8' \
  -fill '#b0b0b0' -draw 'rectangle 2,8 18,14' -fill white -draw 'rectangle 6,12 14,18'
icon tb_find 20 -fill '#c8e0f8' -stroke '#303030' -strokewidth 2 -draw 'circle 8,8 8,3' \
  -draw 'line 12,12 18,18'
icon tb_help 20 -fill '#2060c0' -stroke '#103060' -draw 'circle 10,10 10,1' \
  -fill white -stroke none -font DejaVu-Sans-Bold -pointsize 13 -gravity center -annotate +0+0 '?'

# CoolBar: 32 x 32 icons in colour, shown grey until the mouse is over them.
cool() {  # name draw...
  local name=$1; shift
  icon "cb_$name" 32 "$@"
  $CONVERT "$IMG/cb_$name.gif" -colorspace Gray -level 10%,90% "${STRIP[@]}" "$IMG/cb_${name}_gray.gif"
}
cool back -fill '#30a040' -stroke '#185020' -draw 'circle 16,16 16,2' \
  -fill white -stroke none -draw 'polygon 7,16 16,8 16,13 25,13 25,19 16,19 16,24'
cool forward -fill '#30a040' -stroke '#185020' -draw 'circle 16,16 16,2' \
  -fill white -stroke none -draw 'polygon 25,16 16,8 16,13 7,13 7,19 16,19 16,24'
cool stop -fill '#d02020' -stroke '#701010' -draw 'polygon 11,3 21,3 29,11 29,21 21,29 11,29 3,21 3,11' \
  -fill white -stroke none -draw 'rectangle 8,14 24,18'
cool home -fill '#c04020' -stroke '#602010' -draw 'polygon 16,3 30,15 2,15' \
  -fill '#f0e0b0' -draw 'rectangle 6,15 26,29' -fill '#805030' -draw 'rectangle 13,20 19,29'
cool search -fill '#c8e0f8' -stroke '#203050' -strokewidth 3 -draw 'circle 13,13 13,5' \
  -draw 'line 19,19 29,29'
cool mail -fill '#f8f0d0' -stroke '#605030' -draw 'rectangle 3,8 29,25' \
  -fill none -draw 'polyline 3,8 16,18 29,8'
cool favorites -fill '#f0c020' -stroke '#806000' \
  -draw 'polygon 16,2 20,12 30,12 22,18 25,29 16,22 7,29 10,18 2,12 12,12'
cool history -fill white -stroke '#304060' -strokewidth 2 -draw 'circle 16,16 16,3' \
  -draw 'line 16,16 16,8' -draw 'line 16,16 22,19'

# Bullets, arrows and hot-spot markers.
icon bullet 10 -fill '#7040a0' -stroke '#402060' -draw 'circle 5,5 5,1'
icon bullet_over 10 -fill '#f08020' -stroke '#804010' -draw 'circle 5,5 5,1'
$CONVERT -size 8x10 xc:none -fill white -draw 'polygon 1,1 7,5 1,9' "${STRIP[@]}" "$IMG/arrow.gif"
$CONVERT -size 8x10 xc:none -fill '#303030' -draw 'polygon 1,1 7,5 1,9' "${STRIP[@]}" "$IMG/arrow_dark.gif"
icon spot 18 -fill none -stroke '#e02020' -strokewidth 3 -draw 'circle 9,9 9,3' \
  -fill '#e02020' -stroke none -draw 'circle 9,9 9,7'
icon spot_over 18 -fill '#ffe040' -stroke '#e06000' -strokewidth 2 -draw 'circle 9,9 9,1' \
  -fill '#e06000' -stroke none -draw 'circle 9,9 9,6'

# Image Map: a small harbour town seen from above.
$CONVERT -size 400x240 xc:'#4a80c0' \
  -fill '#8cc070' -draw 'polygon 0,0 400,0 400,150 300,170 220,150 140,175 60,160 0,170' \
  -fill '#5a9c48' -draw 'ellipse 90,60 70,40 0,360' \
  -fill '#c8a078' -draw 'polygon 230,30 370,30 380,120 240,130' \
  -stroke '#a07850' -draw 'line 250,50 360,50' -draw 'line 250,80 365,80' -draw 'line 300,35 305,125' \
  -stroke none -fill '#909090' -draw 'rectangle 20,120 170,145' \
  -stroke '#505050' -draw 'line 20,128 170,128' -draw 'line 20,137 170,137' \
  -stroke none -fill '#b0b0b0' -draw 'rectangle 250,165 262,235' -draw 'rectangle 300,160 312,235' \
  -fill '#70a8e0' -draw 'polygon 180,0 196,0 206,160 190,160' \
  -fill white -draw 'polygon 330,200 350,200 345,190 335,190' \
  -quality 85 "${STRIP[@]}" "$IMG/map.jpg"

# Hot Spot: a desk with a screen, a lamp, books and a telephone.
$CONVERT -size 360x240 gradient:'#f0e8d8'-'#d8c8a8' \
  -fill '#8a5a30' -draw 'rectangle 0,170 360,240' \
  -fill '#303030' -draw 'rectangle 110,60 250,150' -fill '#3070c0' -draw 'rectangle 118,68 242,142' \
  -fill '#505050' -draw 'rectangle 170,150 190,170' -draw 'rectangle 145,165 215,172' \
  -fill '#c03030' -draw 'rectangle 20,120 34,170' -fill '#3060a0' -draw 'rectangle 36,110 50,170' \
  -fill '#30a060' -draw 'rectangle 52,125 64,170' \
  -stroke '#404040' -strokewidth 4 -draw 'line 300,168 300,100' -draw 'line 300,100 330,80' \
  -stroke none -fill '#f0d040' -draw 'polygon 315,70 350,70 360,95 320,95' \
  -fill '#202020' -draw 'roundrectangle 260,150 300,168 4,4' \
  -quality 85 "${STRIP[@]}" "$IMG/scene.jpg"

# Hot Spot Menu: a house with its roof, windows, door and garden.
$CONVERT -size 360x260 gradient:'#a8d0f0'-'#e8f4ff' \
  -fill '#70b050' -draw 'rectangle 0,210 360,260' \
  -fill '#e8d8b8' -draw 'rectangle 60,110 240,215' \
  -fill '#a03828' -draw 'polygon 40,112 150,40 260,112' \
  -fill '#303850' -draw 'rectangle 160,60 200,90' \
  -fill '#a8d8f8' -stroke '#604020' -strokewidth 3 -draw 'rectangle 80,130 120,165' \
  -draw 'rectangle 180,130 220,165' \
  -fill '#704020' -draw 'rectangle 132,150 168,215' \
  -stroke none -fill '#805030' -draw 'rectangle 296,160 306,215' \
  -fill '#3c8c3c' -draw 'circle 301,140 301,105' \
  -quality 85 "${STRIP[@]}" "$IMG/house.jpg"

# Sounds: 8 kHz mu-law AU, short enough for a mouse-over.
SOX_OPTS=(-r 8000 -c 1 -e u-law)
sox -n "${SOX_OPTS[@]}" "$AUD/tick.au" synth 0.04 sine 1800 fade q 0.002 0.04 0.03 vol 0.5
sox -n "${SOX_OPTS[@]}" "$AUD/click.au" synth 0.06 square 700 fade q 0.001 0.06 0.05 vol 0.4
sox -n "${SOX_OPTS[@]}" "$AUD/chime.au" synth 0.45 sine 880 sine 1320 remix - fade q 0.01 0.45 0.35 vol 0.5
echo "Media written to $IMG and $AUD"
