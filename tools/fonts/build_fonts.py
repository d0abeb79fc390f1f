"""Renames and subsets the signature fonts.

Each output font answers exactly to its design's family name (name records 1, 4 and 16 in English
and Chinese, an ASCII PostScript name, every other family or full name removed) and keeps only the
characters of GBK that it has, so the program folder stays small. The source's licence text goes
beside it in licences/.

Usage: build_fonts.py CACHE OUT
"""
import glob
import os
import shutil
import sys

from fontTools import subset
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

CACHE, OUT = sys.argv[1], sys.argv[2]

# design number (ma<n+1>.dat), family, source file (relative to the cache), face in a collection,
# licence file (relative to the cache) or None when the name table states it.
DESIGNS = [
    (0, "青砚签名体", "npm/@expo-google-fonts_zhi-mang-xing/package/400Regular/ZhiMangXing_400Regular.ttf", 0,
     "npm/@expo-google-fonts_zhi-mang-xing/package/LICENSE_FONT"),
    (1, "方正小篆体", "deb/fonts-arphic-ukai/usr/share/fonts/truetype/arphic/ukai.ttc", 0,
     "deb/fonts-arphic-ukai/usr/share/doc/fonts-arphic-ukai/copyright"),
    (2, "hakuyoxingshu7000", "deb/fonts-kouzan-mouhitsu/usr/share/fonts/truetype/kouzan-mouhitsu/kouzan-mouhitsu-gyosho.ttf", 0,
     "deb/fonts-kouzan-mouhitsu/usr/share/doc/fonts-kouzan-mouhitsu/copyright"),
    (3, "hakuyocaoshu7000", "npm/@expo-google-fonts_liu-jian-mao-cao/package/400Regular/LiuJianMaoCao_400Regular.ttf", 0,
     "npm/@expo-google-fonts_liu-jian-mao-cao/package/LICENSE_FONT"),
    (4, "青砚仿明星字体", "npm/@fontsource_long-cang/package/files/long-cang-chinese-simplified-400-normal.woff2", 0,
     "npm/@fontsource_long-cang/package/LICENSE"),
    (5, "草檀斋领袖字体", "npm/@expo-google-fonts_ma-shan-zheng/package/400Regular/MaShanZheng_400Regular.ttf", 0,
     "npm/@expo-google-fonts_ma-shan-zheng/package/LICENSE_FONT"),
    (6, "青砚蚕燕隶书(新春版)", "deb/fonts-lxgw-wenkai/usr/share/fonts/truetype/lxgw/LXGWWenKai-Regular.ttf", 0,
     "deb/fonts-lxgw-wenkai/usr/share/doc/fonts-lxgw-wenkai/copyright"),
    (7, "创艺简细圆", "npm/@expo-google-fonts_m-plus-rounded-1c/package/300Light/MPLUSRounded1c_300Light.ttf", 0,
     "npm/@expo-google-fonts_m-plus-rounded-1c/package/LICENSE_FONT"),
    (8, "方正黄草简体", "deb/fonts-kouzan-mouhitsu/usr/share/fonts/truetype/kouzan-mouhitsu/KouzanBrushFontSousyo.ttf", 0,
     "deb/fonts-kouzan-mouhitsu/usr/share/doc/fonts-kouzan-mouhitsu/copyright"),
    (9, "Kenya Swift", "npm/@expo-google-fonts_herr-von-muellerhoff/package/400Regular/HerrVonMuellerhoff_400Regular.ttf", 0,
     "npm/@expo-google-fonts_herr-von-muellerhoff/package/LICENSE_FONT"),
    (10, "Amphi", "npm/@expo-google-fonts_great-vibes/package/400Regular/GreatVibes_400Regular.ttf", 0,
     "npm/@expo-google-fonts_great-vibes/package/LICENSE_FONT"),
    (11, "Pavane", "npm/@expo-google-fonts_alex-brush/package/400Regular/AlexBrush_400Regular.ttf", 0,
     "npm/@expo-google-fonts_alex-brush/package/LICENSE_FONT"),
    (12, "CommercialScript BT", "npm/@expo-google-fonts_pinyon-script/package/400Regular/PinyonScript_400Regular.ttf", 0,
     "npm/@expo-google-fonts_pinyon-script/package/LICENSE_FONT"),
]

ENGLISH, CHINESE = 0x409, 0x804

# Designs whose source lacks common hanzi: the GB2312 hanzi it lacks are drawn in from a donor of a
# like hand, scaled to the source's em.
DONORS = {
    2: "npm/@expo-google-fonts_zhi-mang-xing/package/400Regular/ZhiMangXing_400Regular.ttf",
    7: "deb/fonts-noto-cjk/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    8: "npm/@expo-google-fonts_liu-jian-mao-cao/package/400Regular/LiuJianMaoCao_400Regular.ttf",
}
DONOR_LICENCES = {
    2: "npm/@expo-google-fonts_zhi-mang-xing/package/LICENSE_FONT",
    7: "deb/fonts-noto-cjk/usr/share/doc/fonts-noto-cjk/copyright",
    8: None,  # the package has no licence file: the donor's name table states it
}
# Noto Sans CJK's collection: face 2 is the Simplified Chinese one. Debian's fonts-noto-cjk has no
# Light weight (that is in the much larger -extra package): Regular stands in for it.
DONOR_FACES = {7: 2}


def gb2312_hanzi():
    chars = set()
    for lead in range(0xB0, 0xF8):
        for trail in range(0xA1, 0xFF):
            try:
                chars.add(ord(bytes([lead, trail]).decode("gb2312")))
            except UnicodeDecodeError:
                pass
    return chars


def draw_in(font, donor_path, face=0):
    """Adds the donor's glyphs for the GB2312 hanzi `font` lacks; answers how many were added.
    Cubic outlines (CFF donors) become quadratic ones on the way."""
    donor = TTFont(donor_path, fontNumber=face) if donor_path.endswith(".ttc") else TTFont(donor_path)
    donor_cmap = donor.getBestCmap()
    donor_glyphs = donor.getGlyphSet()
    scale = font["head"].unitsPerEm / donor["head"].unitsPerEm
    cmap = font.getBestCmap()
    order = list(font.getGlyphOrder())
    added = 0
    for code in sorted(gb2312_hanzi()):
        if code in cmap or code not in donor_cmap:
            continue
        source_name = donor_cmap[code]
        name = f"uni{code:04X}"
        pen = TTGlyphPen(None)
        target = Cu2QuPen(pen, max_err=1.0, reverse_direction=True) if "CFF " in donor else pen
        donor_glyphs[source_name].draw(TransformPen(target, (scale, 0, 0, scale, 0, 0)))
        glyph = pen.glyph()
        font["glyf"][name] = glyph
        glyph.recalcBounds(font["glyf"])
        advance = round(donor["hmtx"][source_name][0] * scale)
        font["hmtx"][name] = (advance, getattr(glyph, "xMin", 0))
        if "vmtx" in font:
            font["vmtx"][name] = (font["head"].unitsPerEm, 0)
        order.append(name)
        for table in font["cmap"].tables:
            if table.isUnicode():
                table.cmap[code] = name
        added += 1
    font.setGlyphOrder(order)
    font["glyf"].glyphOrder = order
    if "post" in font:
        font["post"].formatType = 2.0
        font["post"].extraNames = []
        font["post"].mapping = {}
    return added


def gbk_characters():
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            try:
                chars.add(bytes([lead, trail]).decode("gbk"))
            except UnicodeDecodeError:
                pass
    return {ord(c) for c in chars}


def find(relative):
    path = os.path.join(CACHE, relative)
    if os.path.exists(path):
        return path
    # Package layouts move between versions: look for the file name anywhere in the package.
    matches = glob.glob(os.path.join(CACHE, relative.split("/")[0], relative.split("/")[1], "**",
                                     os.path.basename(relative)), recursive=True)
    if not matches:
        sys.exit(f"build_fonts: {relative} not found in {CACHE}")
    return matches[0]


def rename(font, family, design):
    names = font["name"]
    licence = {n.nameID: n.toUnicode() for n in names.names if n.nameID in (0, 13, 14) and n.platformID == 3}
    names.names = [n for n in names.names if n.platformID == 3 and n.nameID not in (1, 2, 3, 4, 6, 16, 17, 18)]
    postscript = f"YunjianDesign{design:02d}"
    for language in (ENGLISH, CHINESE):
        names.setName(family, 1, 3, 1, language)
        names.setName("Regular", 2, 3, 1, language)
        names.setName(family, 4, 3, 1, language)
        names.setName(family, 16, 3, 1, language)
        names.setName("Regular", 17, 3, 1, language)
    names.setName(f"{postscript};Regular", 3, 3, 1, ENGLISH)
    names.setName(postscript, 6, 3, 1, ENGLISH)
    if "CFF " in font:
        font["CFF "].cff.fontNames = [postscript]
    # A regular, upright face: GDI matches the family with bold off.
    font["OS/2"].fsSelection = (font["OS/2"].fsSelection & ~0b1100001) | 0x40
    font["head"].macStyle = 0
    return licence


# OS/2 code-page bits: what a face declares it serves decides the character set GDI gives it.
LATIN1, GB2312 = 1 << 0, 1 << 18
CHINESE_DESIGNS = range(0, 9)


def declare_code_pages(font, design):
    """A Chinese design serves Latin-1 and GB2312, an English one Latin-1: asked for with the default
    character set on a code page 936 system, every Chinese face then answers as GB2312 and reads the
    program's GBK texts as such (a face that declared only Big5 read 王小明 as Big5 bytes)."""
    os2 = font["OS/2"]
    if os2.version < 1:
        os2.version = 1
    os2.ulCodePageRange1 = LATIN1 | GB2312 if design in CHINESE_DESIGNS else LATIN1
    os2.ulCodePageRange2 = 0


def build(design, family, source, face, licence_file, keep):
    font = TTFont(find(source), fontNumber=face) if source.endswith(".ttc") else TTFont(find(source))
    font.flavor = None
    added = draw_in(font, find(DONORS[design]), DONOR_FACES.get(design, 0)) if design in DONORS else 0
    if added:
        print(f"design {design}: {added} hanzi drawn in from {os.path.basename(DONORS[design])}")
    cmap = font.getBestCmap()
    wanted = sorted(keep & set(cmap))
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.layout_features = ["*"]
    options.hinting = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=wanted)
    subsetter.subset(font)
    stated = rename(font, family, design)
    declare_code_pages(font, design)
    font.save(os.path.join(OUT, "zesel", f"ma{design + 1}.dat"))

    base = os.path.splitext(os.path.basename(source))[0]
    target = os.path.join(OUT, "licences", f"ma{design + 1}-{base}.txt")
    path = os.path.join(CACHE, licence_file) if licence_file else None
    if path and os.path.exists(path):
        shutil.copyfile(path, target)
    else:
        with open(target, "w", encoding="utf-8") as out:
            for key in (0, 13, 14):
                if key in stated:
                    out.write(stated[key] + "\n\n")
    if design in DONORS:
        donor_base = os.path.splitext(os.path.basename(DONORS[design]))[0]
        target = os.path.join(OUT, "licences", f"ma{design + 1}-drawn-in-from-{donor_base}.txt")
        licence = DONOR_LICENCES[design]
        if licence:
            shutil.copyfile(os.path.join(CACHE, licence), target)
        else:
            donor = TTFont(find(DONORS[design]))
            with open(target, "w", encoding="utf-8") as out:
                for record in donor["name"].names:
                    if record.platformID == 3 and record.nameID in (0, 13, 14):
                        out.write(record.toUnicode() + "\n\n")
    return len(wanted)


def main():
    os.makedirs(os.path.join(OUT, "zesel"), exist_ok=True)
    os.makedirs(os.path.join(OUT, "licences"), exist_ok=True)
    keep = gbk_characters()
    for design, family, source, face, licence_file in DESIGNS:
        count = build(design, family, source, face, licence_file, keep)
        size = os.path.getsize(os.path.join(OUT, "zesel", f"ma{design + 1}.dat"))
        print(f"ma{design + 1}.dat  {family}  {count} characters  {size // 1024} KiB")


main()
