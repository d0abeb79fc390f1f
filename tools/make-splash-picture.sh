#!/bin/sh
# Makes the splash window's picture: a 330 x 110 baseline JPEG, three components without
# subsampling. The splash window shows only columns 22 to 329 and rows 8 to 107 of it (its picture
# box starts at (-22, -8) in a 314 x 100 client area), so everything that must be seen stays
# inside that frame.
#
# Usage: tools/make-splash-picture.sh [OUT.jpg]   (default assets/splash.jpg)
# Needs Debian's ImageMagick; the title is drawn with a Chinese brush-style font when one is
# installed (fonts-arphic-ukai, else any CJK font fontconfig knows), and left out otherwise.
set -eu

out=${1:-assets/splash.jpg}
title='云笺免费签名设计正式版 V2.0'
notice='签名系统正在加载，请稍候……'

font=''
for family in 'AR PL UKai CN' 'AR PL UKai' 'WenQuanYi Zen Hei' 'Noto Serif CJK SC' 'Noto Sans CJK SC'; do
  candidate=$(fc-list "$family" file 2>/dev/null | head -n 1 | sed 's/: *$//')
  if [ -n "$candidate" ]; then font=$candidate; break; fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Rice-paper ground: a warm vertical gradient with a little grain, then a faint ink wash at the
# right, a brush-line under the title and a vermilion seal at the lower right, all inside the visible frame.
convert -size 330x110 gradient:'#fbf7ee-#efe6d2' \
  -seed 7 -attenuate 0.15 +noise Uniform -blur 0x0.6 \
  \( -size 330x110 xc:none -fill 'rgba(40,40,40,0.10)' \
     -draw 'ellipse 290,70 70,34 0,360' -blur 0x12 \) -composite \
  -stroke '#3a3a3a' -strokewidth 2 -fill none \
  -draw 'line 36,42 310,42' \
  -stroke none -fill '#b22a1f' -draw 'roundrectangle 282,68 308,94 3,3' \
  "$tmp/ground.png"

if [ -n "$font" ]; then
  convert "$tmp/ground.png" -font "$font" \
    -fill '#1f1f1f' -pointsize 19 -annotate +38+35 "$title" \
    -fill '#5a4a32' -pointsize 14 -annotate +44+72 "$notice" \
    -fill '#fbf7ee' -pointsize 20 -annotate +285+89 '签' \
    "$tmp/picture.png"
else
  cp "$tmp/ground.png" "$tmp/picture.png"
fi

convert "$tmp/picture.png" -strip -interlace none -sampling-factor 1x1,1x1,1x1 \
  -colorspace sRGB -type TrueColor -quality 88 "$out"
identify "$out"
