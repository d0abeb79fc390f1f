"""Reading and copying glyph outlines between fonts.

A character counts as present in a font only when its glyph draws something: some fonts map
characters to empty glyphs, which GDI then draws as nothing at all."""
import glob

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

from charsets import is_blank_by_nature


def open_font(path, face=0):
    font = TTFont(path, fontNumber=face) if path.endswith(".ttc") else TTFont(path)
    font.flavor = None
    return font


class Outlines:
    """One font's characters and whether each has an outline, asked lazily."""

    def __init__(self, font):
        self.font = font
        self.cmap = font.getBestCmap() or {}
        self.glyph_set = font.getGlyphSet()
        self.units_per_em = font["head"].unitsPerEm
        self._glyf = font["glyf"] if "glyf" in font else None
        self._drawn = {}

    def draws(self, code):
        name = self.cmap.get(code)
        if name is None:
            return False
        if name not in self._drawn:
            self._drawn[name] = self._has_outline(name)
        return self._drawn[name]

    def _has_outline(self, name):
        if self._glyf is not None:
            contours = self._glyf[name].numberOfContours
            if contours >= 0:
                return contours > 0
        pen = BoundsPen(self.glyph_set)  # composites and CFF outlines: draw and look
        self.glyph_set[name].draw(pen)
        return pen.bounds is not None

    def present(self, codes):
        return {code for code in codes if self.draws(code) or
                (code in self.cmap and is_blank_by_nature(code))}


class GlyphCopier:
    """Adds characters to a TrueType font, drawn from another font's outlines: components are
    decomposed, cubic outlines become quadratic ones, and the outline is scaled to the target's em.
    Each copied character gets a glyph of its own, so nothing else that used its old glyph moves."""

    def __init__(self, font):
        self.font = font
        self.order = list(font.getGlyphOrder())
        self.names = set(self.order)
        self.units_per_em = font["head"].unitsPerEm

    def copy(self, donor, code):
        scale = self.units_per_em / donor.units_per_em
        source_name = donor.cmap[code]
        recording = DecomposingRecordingPen(donor.glyph_set)
        donor.glyph_set[source_name].draw(recording)
        pen = TTGlyphPen(None)
        target = Cu2QuPen(pen, max_err=1.0, reverse_direction=True) if "CFF " in donor.font else pen
        recording.replay(TransformPen(target, (scale, 0, 0, scale, 0, 0)))
        glyph = pen.glyph()
        name = self._new_name(code)
        glyf = self.font["glyf"]
        glyf[name] = glyph
        glyph.recalcBounds(glyf)
        advance = round(donor.font["hmtx"][source_name][0] * scale)
        self.font["hmtx"][name] = (advance, getattr(glyph, "xMin", 0))
        if "vmtx" in self.font:
            if "vmtx" in donor.font:
                height, top = donor.font["vmtx"][source_name]
                self.font["vmtx"][name] = (round(height * scale), round(top * scale))
            else:
                self.font["vmtx"][name] = (self.units_per_em, 0)
        for table in self.font["cmap"].tables:
            if table.isUnicode():
                table.cmap[code] = name

    def _new_name(self, code):
        name, n = f"uni{code:04X}", 0
        while name in self.names:
            n += 1
            name = f"uni{code:04X}.{n}"
        self.names.add(name)
        self.order.append(name)
        return name

    def finish(self):
        """Writes the new glyph order back; glyph names are rebuilt when the font is saved."""
        self.font.setGlyphOrder(self.order)
        self.font["glyf"].glyphOrder = self.order
        if "post" in self.font:
            self.font["post"].formatType = 2.0
            self.font["post"].extraNames = []
            self.font["post"].mapping = {}


def open_merged(pattern, face, wanted):
    """Opens a font, or merges the subsets a web-font package splits one font into (a glob
    pattern): the first file is the base, the others' characters in `wanted` are copied in."""
    paths = sorted(glob.glob(pattern)) if any(c in pattern for c in "*?[") else [pattern]
    if not paths:
        raise FileNotFoundError(pattern)
    # The subset with the most characters is the base: its tables describe the font best.
    fonts = sorted((open_font(path, face) for path in paths),
                   key=lambda font: -len(font.getBestCmap() or {}))
    base = fonts[0]
    if len(fonts) == 1:
        return base, 1
    copier = GlyphCopier(base)
    have = Outlines(base).present(wanted)
    for part in fonts[1:]:
        outlines = Outlines(part)
        for code in sorted(outlines.present(wanted) - have):
            copier.copy(outlines, code)
            have.add(code)
    copier.finish()
    return base, len(paths)
