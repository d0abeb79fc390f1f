#!/bin/sh
# Makes the background pictures shipped in the program's 背景图片 folder: letter paper, soft
# gradients, ink wash and festive designs in JPEG, GIF and BMP, between 333x200 and 868x561. The
# list is sorted by name in the program, so "01-..." is the picture of the first drawing: it must
# be at least 166 wide and 131 high so the sliders' starting place (165, 130) lies on it.
#
# Usage: tools/make-backgrounds.sh [FOLDER]   (default assets/backgrounds). Needs ImageMagick.
set -eu
out=${1:-assets/backgrounds}
mkdir -p "$out"
cd "$out"
rm -f ./*.jpg ./*.gif ./*.bmp

# Cream letter paper with faint blue rules and a red margin line.
convert -size 500x300 gradient:'#fffdf4-#f6efdc' -seed 1 -attenuate 0.12 +noise Uniform -blur 0x0.5 \
  -stroke '#c9d6e8' -strokewidth 1 \
  -draw "$(for y in $(seq 40 28 290); do printf 'line 0,%s 500,%s ' "$y" "$y"; done)" \
  -stroke '#e7a3a3' -draw 'line 48,0 48,300' \
  -quality 85 -sampling-factor 1x1 01-letter-paper.jpg

# A soft dawn gradient, peach to lavender.
convert -size 640x400 gradient:'#fde2cf-#dcd3f2' -blur 0x2 -quality 85 02-soft-dawn.jpg

# Ink wash: grey mountains fading into rice paper.
convert -size 600x380 gradient:'#fbf9f3-#eeeae0' \
  \( -size 600x380 xc:none -fill 'rgba(60,60,60,0.22)' -draw 'polygon 0,380 0,260 120,170 230,250 330,150 460,240 600,190 600,380' -blur 0x10 \) -composite \
  \( -size 600x380 xc:none -fill 'rgba(40,40,40,0.30)' -draw 'polygon 0,380 0,320 160,260 300,330 420,280 600,320 600,380' -blur 0x6 \) -composite \
  -colors 64 03-ink-wash.gif

# Festive: deep red with gold corners and a thin gold border.
convert -size 420x260 gradient:'#b3121b-#7e0a10' \
  -fill none -stroke '#e9c46a' -strokewidth 3 -draw 'rectangle 10,10 409,249' \
  -fill '#e9c46a' -stroke none \
  -draw 'circle 10,10 26,10' -draw 'circle 409,10 393,10' -draw 'circle 10,249 26,249' -draw 'circle 409,249 393,249' \
  -type TrueColor BMP3:04-festive-red.bmp

# Blue mist, the largest size the preview area holds.
convert -size 868x561 gradient:'#eef5fb-#c6dcef' -seed 5 -attenuate 0.08 +noise Gaussian -blur 0x3 \
  -quality 82 05-blue-mist.jpg

# A small plain card, the smallest size.
convert -size 333x200 xc:'#fbfaf7' -fill none -stroke '#b9b2a3' -strokewidth 1 -draw 'rectangle 6,6 326,193' \
  -type TrueColor BMP3:06-plain-card.bmp

# Green tea: pale green with soft round spots.
convert -size 480x300 gradient:'#f1f8ec-#d9ead0' \
  \( -size 480x300 xc:none -fill 'rgba(120,170,110,0.18)' -draw 'circle 400,70 460,70' -draw 'circle 80,240 130,240' -blur 0x14 \) -composite \
  -colors 64 07-green-tea.gif
