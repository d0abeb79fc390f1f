"""Builds the thirteen signature fonts (ma1.dat ... ma13.dat) and their licence texts.

Each output font answers exactly to its design's family name (name records 1, 4 and 16 in English
and Chinese, an ASCII PostScript name, every other family or full name removed), declares the code
pages it serves, and keeps only the characters of GBK that it draws, so the program folder stays
small. Every Chinese design draws every GB2312 hanzi and the ASCII letters and digits, every English
one printable ASCII: what its own font lacks (or maps to an empty glyph) is drawn in from its
donors. The build prints a coverage table and fails when a design still lacks a character.

Usage: build_fonts.py CACHE OUT
"""
import glob
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from fontTools import subset  # noqa: E402

from charsets import ASCII_LETTERS_AND_DIGITS, PRINTABLE_ASCII, gb2312_hanzi, gbk_characters  # noqa: E402
from designs import CHINESE_DESIGNS, DESIGNS, OFL_FROM  # noqa: E402
from glyphs import GlyphCopier, Outlines, open_font, open_merged  # noqa: E402

CACHE, OUT = sys.argv[1], sys.argv[2]
ENGLISH, CHINESE = 0x409, 0x804


def find(relative):
    path = os.path.join(CACHE, relative)
    if os.path.exists(path) or any(c in relative for c in "*?["):
        return path
    # Package layouts move between versions: look for the file name anywhere in the package.
    parts = relative.split("/")
    matches = glob.glob(os.path.join(CACHE, parts[0], parts[1], "**", parts[-1]), recursive=True)
    if not matches:
        sys.exit(f"build_fonts: {relative} not found in {CACHE}")
    return matches[0]


def rename(font, family, design):
    names = font["name"]
    stated = {n.nameID: n.toUnicode() for n in names.names if n.nameID in (0, 13, 14) and n.platformID == 3}
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
    return stated


# OS/2 code-page bits: what a face declares it serves decides the character set GDI gives it.
LATIN1, GB2312 = 1 << 0, 1 << 18


def declare_code_pages(font, design):
    """A Chinese design serves Latin-1 and GB2312, an English one Latin-1: asked for with the default
    character set on a code page 936 system, every Chinese face then answers as GB2312 and reads the
    program's GBK texts as such (a face that declared only Big5 read 王小明 as Big5 bytes)."""
    os2 = font["OS/2"]
    if os2.version < 1:
        os2.version = 1
    os2.ulCodePageRange1 = LATIN1 | GB2312 if design in CHINESE_DESIGNS else LATIN1
    os2.ulCodePageRange2 = 0


class Coverage:
    """What each design draws of the characters it must draw, and from where."""

    def __init__(self):
        self.rows = []

    def add(self, design, own, filled, missing):
        self.rows.append((design, own, filled, missing))

    def print(self):
        print(f"{'design':>6} {'must':>5} {'own':>5} {'missing':>7}  {'filled (donor)':<24} family")
        for design, own, filled, missing in self.rows:
            must = own + sum(filled.values()) + len(missing)
            donors = ", ".join(f"{count} {name}" for name, count in filled.items() if count) or "-"
            print(f"{design.number:>6} {must:>5} {own:>5} {len(missing):>7}  {donors:<24} {design.family}")
            if missing:
                print(f"   missing: {''.join(chr(code) for code in sorted(missing)[:80])}")

    def complete(self):
        return all(not missing for *_, missing in self.rows)


def must_draw(design):
    if design.number in CHINESE_DESIGNS:
        return gb2312_hanzi() | ASCII_LETTERS_AND_DIGITS
    return PRINTABLE_ASCII


def make_font(design, keep, coverage):
    source = design.source
    font, parts = open_merged(find(source.path), source.face, keep)
    if parts > 1:
        print(f"design {design.number}: {parts} subsets of {source.name} merged")
    outlines = Outlines(font)
    wanted = must_draw(design)
    have = outlines.present(wanted)
    own = len(have)
    filled = {}
    copier = GlyphCopier(font)
    for donor_source in design.donors:
        donor = Outlines(open_font(find(donor_source.path), donor_source.face))
        codes = sorted(donor.present(wanted - have))
        for code in codes:
            copier.copy(donor, code)
        have.update(codes)
        filled[donor_source.name] = len(codes)
    copier.finish()
    coverage.add(design, own, filled, wanted - have)
    # Keep what the font draws (spaces included); a character mapped to an empty glyph is dropped,
    # so GDI reports it missing instead of drawing nothing.
    return font, sorted(Outlines(font).present(keep))


def save_font(font, design, characters):
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.layout_features = ["*"]
    options.hinting = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=characters)
    subsetter.subset(font)
    stated = rename(font, design.family, design.number)
    declare_code_pages(font, design.number)
    font["OS/2"].recalcUnicodeRanges(font)
    path = os.path.join(OUT, "zesel", f"ma{design.number + 1}.dat")
    font.save(path)
    return stated, path


def write_licence(design, source, role, stated):
    """Copies the source's licence text beside the fonts, or writes it from what the font states.
    Where the font or its package names the SIL Open Font License without its text, the text is
    added: it is the same for every font under that licence."""
    prefix = f"ma{design.number + 1}-" + ("" if role == "source" else "drawn-in-from-")
    target = os.path.join(OUT, "licences", prefix + source.name.replace(" ", "") + ".txt")
    if source.licence:
        shutil.copyfile(find(source.licence), target)
        return
    text = f"{source.name}\n\n" + "".join(stated[key] + "\n\n" for key in (0, 13, 14) if key in stated)
    if 13 not in stated:
        text += "Its package states the SIL Open Font License, Version 1.1, and ships no licence text.\n\n"
    if "SIL OPEN FONT LICENSE Version 1.1" not in text and (13 not in stated or "Open Font License" in text):
        with open(find(OFL_FROM), encoding="utf-8") as ofl:
            licence = ofl.read()
        text += licence[licence.index("-----"):]
    with open(target, "w", encoding="utf-8") as out:
        out.write(text)


def stated_names(source):
    font = open_font(find(source.path) if "*" not in source.path else sorted(glob.glob(find(source.path)))[0],
                     source.face)
    return {n.nameID: n.toUnicode() for n in font["name"].names if n.nameID in (0, 13, 14) and n.platformID == 3}


def main():
    shutil.rmtree(os.path.join(OUT, "licences"), ignore_errors=True)
    os.makedirs(os.path.join(OUT, "zesel"), exist_ok=True)
    os.makedirs(os.path.join(OUT, "licences"), exist_ok=True)
    keep = gbk_characters()
    coverage = Coverage()
    for design in DESIGNS:
        font, characters = make_font(design, keep, coverage)
        stated, path = save_font(font, design, characters)
        write_licence(design, design.source, "source", stated)
        for donor in design.donors:
            write_licence(design, donor, "donor", stated_names(donor))
        print(f"ma{design.number + 1}.dat  {design.family}  {len(characters)} characters  "
              f"{os.path.getsize(path) // 1024} KiB")
    coverage.print()
    with open(os.path.join(OUT, "coverage.txt"), "w", encoding="utf-8") as out:
        sys.stdout, saved = out, sys.stdout
        coverage.print()
        sys.stdout = saved
    if not coverage.complete():
        for design in DESIGNS:
            os.remove(os.path.join(OUT, "zesel", f"ma{design.number + 1}.dat"))
        sys.exit("build_fonts: a design lacks characters it must draw (see the table above)")


main()
