#!/bin/sh
# Makes the small picture fixtures of tests/canvas/fixtures with Debian's ImageMagick, and beside
# each one (FILE.ppm) ImageMagick's own decoding of it, which the tests compare with ours pixel for
# pixel. Variants ImageMagick cannot write (top-down rows, colours used 0, local colour tables, a
# plain-text extension, 1-bit PCX of version 3, 16-colour icons) are made by patching its files
# with the small Python helper at the end; the references always come from decoding the final file.
#
# Usage: tools/make-picture-fixtures.sh [OUTDIR]   (default tests/canvas/fixtures)
# The results are committed; run this again only to change the set, and review the diff.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/tests/canvas/fixtures}
# Debian's convert itself, not whatever else is first on PATH.
convert=${CONVERT:-/usr/bin/convert}
python=${PYTHON:-/usr/bin/python3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

patch() { "$python" "$work/patch.py" "$@"; }

cat >"$work/patch.py" <<'PY'
import struct, sys

def read(p): return bytearray(open(p, 'rb').read())
def write(p, d): open(p, 'wb').write(bytes(d))

def bmp_top_down(src, dst):
    # Same picture, rows stored top row first and the height negated.
    d = read(src)
    off, = struct.unpack_from('<I', d, 10)
    w, h = struct.unpack_from('<ii', d, 18)
    bits, = struct.unpack_from('<H', d, 28)
    stride = ((w * bits + 31) // 32) * 4
    rows = [d[off + r * stride: off + (r + 1) * stride] for r in range(h)]
    d[off:off + stride * h] = b''.join(reversed(rows))
    struct.pack_into('<i', d, 22, -h)
    write(dst, d)

def bmp_colours_used_zero(src, dst):
    # Only right when the file's table is full (2^bits entries), which the caller makes sure of.
    d = read(src)
    bits, = struct.unpack_from('<H', d, 28)
    used, = struct.unpack_from('<I', d, 46)
    assert used == 1 << bits, (used, bits)
    struct.pack_into('<I', d, 46, 0)
    write(dst, d)

def gif_blocks(d):
    # Offset of the first image descriptor, walking the extensions before it.
    p = 13 + (3 * (2 << (d[10] & 7)) if d[10] & 0x80 else 0)
    while d[p] == 0x21:
        p += 2
        while d[p]: p += d[p] + 1
        p += 1
    assert d[p] == 0x2C
    return p

def gif_local_table(src, dst, keep_global):
    # Moves the global colour table behind the image descriptor as a local one; with keep_global a
    # scrambled global table stays in front (the local one must win).
    d = read(src)
    flags = d[10]
    assert flags & 0x80
    size = 3 * (2 << (flags & 7))
    table = d[13:13 + size]
    image = gif_blocks(d)
    head, desc, rest = d[:image], d[image:image + 10], d[image + 10:]
    desc[9] = (desc[9] & ~0x07) | 0x80 | (flags & 7)
    if keep_global:
        head[13:13 + size] = bytes(255 - b for b in table)
    else:
        head[10] = flags & 0x7F
        del head[13:13 + size]
    write(dst, head + desc + table + rest)

def gif_plain_text(src, dst):
    # A plain-text extension in front of the image: 12-byte block, one data sub-block, terminator.
    d = read(src)
    image = gif_blocks(d)
    ext = bytes([0x21, 0x01, 12]) + struct.pack('<HHHHBBBB', 0, 0, 40, 8, 8, 8, 1, 0) + bytes([5]) + b'hello' + bytes([0])
    write(dst, d[:image] + ext + d[image:])

def pcx_version(src, dst, version):
    d = read(src)
    d[1] = version
    write(dst, d)

def icon(dst, kind, *bmps):
    # An icon (kind 1) or cursor (kind 2) file from uncompressed BMP files: each image is the BMP's
    # info header, colour table and rows with the height doubled, then an all-zero (opaque) mask.
    images = []
    for path in bmps:
        b = read(path)
        w, h = struct.unpack_from('<ii', b, 18)
        bits, = struct.unpack_from('<H', b, 28)
        used, = struct.unpack_from('<I', b, 46)
        image = bytearray(b[14:])
        struct.pack_into('<i', image, 8, 2 * h)
        mask = bytes(((w + 31) // 32) * 4 * h)
        images.append((w, h, used or (1 << bits if bits <= 8 else 0), bits, bytes(image) + mask))
    out = bytearray(struct.pack('<HHH', 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, colours, bits, data in images:
        planes, bitcount = (1, bits) if kind == 1 else (0, 0)  # a cursor keeps its hot spot here
        out += struct.pack('<BBBBHHII', w & 255, h & 255, colours & 255, 0, planes, bitcount, len(data), offset)
        offset += len(data)
    for *_, data in images:
        out += data
    write(dst, out)

ops = {'bmp-top-down': bmp_top_down, 'bmp-colours-used-zero': bmp_colours_used_zero,
       'gif-local-table': lambda s, t: gif_local_table(s, t, False),
       'gif-local-and-global': lambda s, t: gif_local_table(s, t, True),
       'gif-plain-text': gif_plain_text,
       'pcx-version-3': lambda s, t: pcx_version(s, t, 3),
       'icon': lambda t, *b: icon(t, 1, *b), 'cursor': lambda t, *b: icon(t, 2, *b)}
ops[sys.argv[1]](*sys.argv[2:])
PY

# Sources: a colourful 37x23 picture (odd width: every bit depth needs row padding), a smoother
# photo-like one for JPEG, noise that fills the GIF code table several times, and a 32x32 and a
# 16x16 picture for the icon.
"$convert" -size 37x23 -seed 11 plasma:fractal -depth 8 "$work/plasma.png"
"$convert" -size 45x31 -seed 12 plasma:fractal -blur 0x1.2 -depth 8 "$work/photo.png"
"$convert" -size 100x64 -seed 13 xc: +noise Random -depth 8 "$work/noise.png"
"$convert" -size 32x32 -seed 14 plasma:fractal -depth 8 "$work/icon32.png"
"$convert" -size 16x16 -seed 15 plasma:fractal -depth 8 "$work/icon16.png"

# BMP: 40-byte headers (BMP3), uncompressed.
"$convert" "$work/plasma.png" -type truecolor BMP3:"$out/bmp_24_bottom_up.bmp"
patch bmp-top-down "$out/bmp_24_bottom_up.bmp" "$out/bmp_24_top_down.bmp"
"$convert" "$work/plasma.png" -alpha set -channel A -evaluate set 50% +channel -define bmp3:alpha=true \
  BMP3:"$out/bmp_32.bmp"
"$convert" "$work/plasma.png" -colors 256 -type palette -compress none BMP3:"$work/bmp8.bmp"
patch bmp-colours-used-zero "$work/bmp8.bmp" "$out/bmp_8_colours_used_0.bmp"
patch bmp-top-down "$work/bmp8.bmp" "$out/bmp_8_top_down.bmp"
"$convert" "$work/plasma.png" -colors 16 -type palette -compress none BMP3:"$out/bmp_4.bmp"
patch bmp-colours-used-zero "$out/bmp_4.bmp" "$out/bmp_4_colours_used_0.bmp"
"$convert" "$work/plasma.png" -monochrome BMP3:"$out/bmp_1.bmp"
# BMP: the other header versions (BMP: writes 124-byte headers, BMP2: the 12-byte OS/2 core with
# 3-byte colour entries), bit fields at 16 bits (5-6-5 and 5-5-5 masks), and RLE8.
"$convert" "$work/plasma.png" -colors 256 -type palette -compress none BMP:"$out/bmp_8_v5.bmp"
"$convert" "$work/plasma.png" -colors 256 -type palette BMP:"$out/bmp_8_v5_rle.bmp"
"$convert" "$work/plasma.png" -colors 256 -type palette BMP2:"$out/bmp_8_core.bmp"
"$convert" "$work/plasma.png" -colors 16 -type palette -compress none BMP2:"$out/bmp_4_core.bmp"
"$convert" "$work/plasma.png" -define bmp:subtype=RGB565 BMP:"$out/bmp_16_565.bmp"
"$convert" "$work/plasma.png" -define bmp:subtype=RGB555 BMP:"$out/bmp_16_555.bmp"
"$convert" "$work/plasma.png" -colors 200 -type palette -compress RLE BMP3:"$out/bmp_8_rle.bmp"

# GIF: first image only.
"$convert" "$work/plasma.png" -colors 64 GIF87:"$out/gif87a.gif"
"$convert" "$work/plasma.png" -colors 64 -set comment "fixture" GIF:"$work/gif89a.gif"
patch gif-plain-text "$work/gif89a.gif" "$out/gif89a_extensions.gif"
"$convert" "$work/plasma.png" -colors 64 -interlace GIF GIF:"$out/gif_interlaced.gif"
patch gif-local-table "$out/gif87a.gif" "$out/gif_local_table.gif"
patch gif-local-and-global "$out/gif87a.gif" "$out/gif_local_and_global.gif"
"$convert" "$work/plasma.png" -colors 64 -page 60x40+5+3 GIF:"$out/gif_small_image.gif"
"$convert" "$work/plasma.png" -colors 4 GIF:"$out/gif_4_colours.gif"
# A transparent corner: its index keeps the colour its table entry gives it.
"$convert" "$work/plasma.png" -colors 32 -alpha set -region 9x7+0+0 -alpha transparent +region \
  GIF:"$out/gif_transparent.gif"
"$convert" "$work/noise.png" -colors 256 GIF:"$out/gif_code_table_full.gif"

# PCX: 8 bits with the palette at the end; 1 bit from a two-colour palette image (version 3, the
# only version recognised as 1-bit).
"$convert" "$work/plasma.png" -colors 64 -type palette PCX:"$out/pcx_8.pcx"
"$convert" "$work/plasma.png" -monochrome GIF:- | "$convert" GIF:- PCX:"$work/pcx1.pcx"
patch pcx-version-3 "$work/pcx1.pcx" "$out/pcx_1.pcx"

# JPEG.
"$convert" "$work/photo.png" -quality 85 -sampling-factor 2x2 "$out/jpeg_baseline_420.jpg"
"$convert" "$work/photo.png" -quality 85 -sampling-factor 2x1 "$out/jpeg_422.jpg"
"$convert" "$work/photo.png" -quality 85 -sampling-factor 1x1 "$out/jpeg_444.jpg"
"$convert" "$work/photo.png" -quality 85 -interlace JPEG "$out/jpeg_progressive.jpg"
"$convert" "$work/photo.png" -colorspace Gray -quality 85 "$out/jpeg_grey.jpg"
# CMYK in Adobe's inverted convention: ImageMagick writes it as YCCK (Adobe transform 2), Pillow as
# plain CMYK (transform 0).
"$convert" "$work/photo.png" -colorspace CMYK -quality 90 "$out/jpeg_ycck.jpg"
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).convert("CMYK").save(sys.argv[2], quality=90)' \
  "$work/photo.png" "$out/jpeg_cmyk.jpg"

# Icon with a 32x32 and a 16x16 entry of 16 colours each (32x32 first), and a cursor of one.
"$convert" "$work/icon32.png" -colors 16 -type palette -compress none BMP3:"$work/icon32.bmp"
"$convert" "$work/icon16.png" -colors 16 -type palette -compress none BMP3:"$work/icon16.bmp"
patch icon "$out/icon_32_16.ico" "$work/icon32.bmp" "$work/icon16.bmp"
patch cursor "$out/cursor_32.cur" "$work/icon32.bmp"

# ImageMagick's decoding of each fixture: 8-bit RGB, alpha dropped, the first image (for the icon
# its first entry, the 32x32 one), without the GIF's logical screen (only the image area).
for fixture in "$out"/*.bmp "$out"/*.gif "$out"/*.pcx "$out"/*.jpg "$out"/*.ico; do
  "$convert" "${fixture}[0]" -alpha off +repage -strip -depth 8 PPM:"$fixture.ppm"
done
ls -l "$out"
