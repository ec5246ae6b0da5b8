#!/usr/bin/python3
"""Marks the application-object class of a type library as predeclared.

widl writes the flags application-object and can-create for `[appobject]` but knows
no attribute for a predeclared instance (TYPEFLAG_FPREDECLID). This sets that flag in
the compiled library: in each class whose flags hold TYPEFLAG_FAPPOBJECT. The file is
written only when it changes, so that the build does not redo what depends on it.
Usage: predeclared_id.py LIBRARY.tlb
"""
import struct
import sys

TKIND_COCLASS = 5
FAPPOBJECT, FPREDECLID = 0x01, 0x08
HEADER_SIZE, HELP_DLL_FLAG = 0x54, 0x100
TYPEINFO_FLAGS = 0x30


def main(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    magic, _, _, _, _, varflags, _, _, count = struct.unpack_from("<9i", data, 0)
    if magic != 0x5446534D:  # "MSFT"
        sys.exit(f"{path}: not a type library")
    offsets_at = HEADER_SIZE + (4 if varflags & HELP_DLL_FLAG else 0)
    offsets = struct.unpack_from(f"<{count}i", data, offsets_at)
    typeinfo_segment = struct.unpack_from("<i", data, offsets_at + 4 * count)[0]
    changed = False
    for offset in offsets:
        at = typeinfo_segment + offset
        kind = struct.unpack_from("<i", data, at)[0] & 0xF
        flags = struct.unpack_from("<i", data, at + TYPEINFO_FLAGS)[0]
        if kind == TKIND_COCLASS and flags & FAPPOBJECT and not flags & FPREDECLID:
            struct.pack_into("<i", data, at + TYPEINFO_FLAGS, flags | FPREDECLID)
            changed = True
    if changed:
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
