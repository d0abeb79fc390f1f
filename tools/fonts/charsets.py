"""The character sets the font pack is built for, as sets of Unicode code points."""
import unicodedata

ASCII_LETTERS_AND_DIGITS = {ord(c) for c in
                            "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"}
PRINTABLE_ASCII = set(range(0x21, 0x7F))


def _decoded(codec, leads, trails):
    chars = set()
    for lead in leads:
        for trail in trails:
            try:
                chars.add(ord(bytes([lead, trail]).decode(codec)))
            except UnicodeDecodeError:
                pass
    return chars


def gb2312_hanzi():
    """Levels 1 and 2 of GB2312: 3,755 + 3,008 = 6,763 hanzi (rows 0xB0-0xF7)."""
    return _decoded("gb2312", range(0xB0, 0xF8), range(0xA1, 0xFF))


def gbk_characters():
    """Every character a GBK text can hold: printable ASCII and the double-byte range."""
    trails = [t for t in range(0x40, 0xFF) if t != 0x7F]
    return set(range(0x20, 0x7F)) | _decoded("gbk", range(0x81, 0xFF), trails)


def is_blank_by_nature(code):
    """Spaces draw nothing in any font: they need no outline."""
    return unicodedata.category(chr(code)) == "Zs"
