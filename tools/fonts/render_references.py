"""Renders the characters of the sample names in each design's font file with FreeType (Pillow),
outside Windows' font machinery, as the reference the GDI renderings are compared with.

Writes OUT/dNN-XXXX.pgm for design NN and the character whose GBK bytes are XXXX (hex), the glyph
cropped to its ink (coverage of half or more), and OUT/index.txt with one "NN XXXX" line each.

Usage: render_references.py FONT_FOLDER NAMES_FILE OUT [EM_PIXELS]
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

CHINESE_DESIGNS = range(0, 9)
DESIGN_COUNT = 13


def sample_characters(names_file):
    chars = {"zh": [], "en": []}
    with open(names_file, encoding="utf-8") as names:
        for line in names:
            if line.startswith("#") or not line.strip():
                continue
            language, name = line.rstrip("\n").split(" ", 1)
            for char in name:
                if char != " " and char not in chars[language]:
                    chars[language].append(char)
    return chars


def ink(font, char, em):
    canvas = Image.new("L", (em * 3, em * 3), 0)
    ImageDraw.Draw(canvas).text((em, em * 2), char, font=font, fill=255, anchor="ls")
    mask = canvas.point(lambda v: 255 if v >= 128 else 0)
    box = mask.getbbox()
    return mask.crop(box) if box else None


def main():
    folder, names_file, out = sys.argv[1:4]
    em = int(sys.argv[4]) if len(sys.argv) > 4 else 128
    os.makedirs(out, exist_ok=True)
    chars = sample_characters(names_file)
    lines = []
    for design in range(DESIGN_COUNT):
        font = ImageFont.truetype(os.path.join(folder, f"ma{design + 1}.dat"), em)
        for char in chars["zh" if design in CHINESE_DESIGNS else "en"]:
            glyph = ink(font, char, em)
            if glyph is None:
                sys.exit(f"render_references: design {design} draws nothing for {char}")
            code = char.encode("gbk").hex().upper()
            glyph.save(os.path.join(out, f"d{design:02d}-{code}.pgm"))
            lines.append(f"{design:02d} {code}\n")
    with open(os.path.join(out, "index.txt"), "w") as index:
        index.writelines(lines)


main()
