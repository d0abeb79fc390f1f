#!/usr/bin/python3
"""Packs a folder as a zip whose every entry is marked as having a UTF-8 name, and checks that mark.

  pack-zip.py pack ZIP FOLDER NAME EPOCH   packs FOLDER's contents under one top folder NAME
  pack-zip.py check ZIP                    fails unless every entry, in its local header and in the
                                           central directory, carries the mark

The mark is bit 11 of the general purpose flags (the language encoding flag). An extractor that
finds it clear reads the name in its own code page: on a Chinese Windows that is 936, on most others
437 or 1252, and the program's folder unpacks under a garbled name. Info-ZIP's zip never sets it;
Python's zipfile sets it only for names that are not ASCII. Here every entry has it, ASCII names too,
so that no extractor has to guess about any of them.

The archive is the same for the same folder and EPOCH: entries in code point order, each folder
before what it holds (folders are entries of their own, so an empty one survives), every entry
dated EPOCH, permissions reduced to "executable or not".
"""
import os
import stat
import struct
import sys
import time
import zipfile

UTF8_NAME = 0x800
LOCAL_HEADER = struct.Struct("<4sHHH")  # signature, version needed, flags, method


class Utf8NamedEntry(zipfile.ZipInfo):
    """An entry whose flags always carry the UTF-8 name mark.

    zipfile writes the flags itself as it writes an entry (it clears them first), so setting the
    bit beforehand would be lost: the mark is added whenever the flags are read instead.
    """

    __slots__ = ("_flags",)

    @property
    def flag_bits(self):
        return self._flags | UTF8_NAME

    @flag_bits.setter
    def flag_bits(self, value):
        self._flags = value


def entries(folder, prefix):
    """(path on disk, name in the archive) for everything under folder, each folder first."""
    for child in sorted(os.listdir(folder)):
        path = os.path.join(folder, child)
        name = f"{prefix}/{child}"
        if os.path.islink(path):
            sys.exit(f"pack-zip: {path} is a symbolic link; the release folder holds none")
        if os.path.isdir(path):
            yield path, name + "/"
            yield from entries(path, name)
        else:
            yield path, name


def pack(zip_path, folder, top_name, epoch):
    # Zip times have no zone and start in 1980; the date is written as UTC.
    date_time = time.gmtime(max(epoch, 315532800))[:6]

    def entry(name, mode):
        info = Utf8NamedEntry(name, date_time)
        info.create_system = 3  # Unix, so that the permissions below mean something to unzip
        info.external_attr = mode << 16
        return info

    partial = zip_path + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        everything = [(folder, top_name + "/")] + list(entries(folder, top_name))
        for path, name in everything:
            if name.endswith("/"):
                info = entry(name, stat.S_IFDIR | 0o755)
                info.external_attr |= 0x10  # the MS-DOS directory attribute
                info.file_size = info.compress_size = info.CRC = 0
                archive.mkdir(info)
            else:
                executable = os.stat(path).st_mode & 0o111
                info = entry(name, stat.S_IFREG | (0o755 if executable else 0o644))
                info.compress_type = zipfile.ZIP_DEFLATED
                info._compresslevel = 9
                with open(path, "rb") as source:
                    archive.writestr(info, source.read())
    os.replace(partial, zip_path)


def check(zip_path):
    """Every entry's flags, as the central directory and as its own local header give them."""
    unmarked = []
    with zipfile.ZipFile(zip_path) as archive, open(zip_path, "rb") as raw:
        infos = archive.infolist()
        for info in infos:
            raw.seek(info.header_offset)
            signature, _, local_flags, _ = LOCAL_HEADER.unpack(raw.read(LOCAL_HEADER.size))
            if signature != b"PK\x03\x04":
                sys.exit(f"pack-zip: {zip_path}: no local header where the entry {info.filename!r} should start")
            lacking = [where for where, flags in (("central directory", info.flag_bits),
                                                  ("local header", local_flags))
                       if not flags & UTF8_NAME]
            if lacking:
                unmarked.append(f"{info.filename} ({' and '.join(lacking)})")
    if not infos:
        sys.exit(f"pack-zip: {zip_path} holds no entries")
    if unmarked:
        print(f"pack-zip: {len(unmarked)} of the {len(infos)} names in {zip_path} lack the UTF-8 flag (bit 11),"
              " so Windows would read them in its own code page:", file=sys.stderr)
        for line in unmarked[:10]:
            print("  " + line, file=sys.stderr)
        if len(unmarked) > 10:
            print(f"  and {len(unmarked) - 10} more", file=sys.stderr)
        sys.exit(1)
    print(f"{len(infos)} entries, every one flagged UTF-8 (bit 11) in its local header and the central directory")


def main(argv):
    if len(argv) == 6 and argv[1] == "pack":
        pack(argv[2], argv[3], argv[4], int(argv[5]))
    elif len(argv) == 3 and argv[1] == "check":
        check(argv[2])
    else:
        sys.exit(__doc__.split("\n\n")[1])


if __name__ == "__main__":
    main(sys.argv)
