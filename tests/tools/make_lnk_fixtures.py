#!/usr/bin/env python3
"""Writes the shell-link (.lnk) fixtures of the shortcut tests, laid out as
the Shell Link Binary File Format ([MS-SHLLINK]) describes: a 76-byte header,
a LinkInfo with a local base path (ANSI, code page 932), and the counted
strings (UTF-16LE when IsUnicode is set, else code page 932 bytes).

Usage: make_lnk_fixtures.py OUTPUT_FOLDER
"""
import struct
import sys
from pathlib import Path

CLSID = bytes.fromhex("0114020000000000c000000000000046")
HAS_LINK_INFO = 0x02
HAS_RELATIVE_PATH = 0x08
HAS_WORKING_DIR = 0x10
HAS_ARGUMENTS = 0x20
IS_UNICODE = 0x80


def header(flags):
    return struct.pack("<I16sIIQQQIIIHHII", 0x4C, CLSID, flags, 0x20, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0)


def link_info(local_path):
    volume = struct.pack("<IIII", 0x11, 3, 0x12345678, 0x10) + b"\0"
    base = local_path.encode("cp932") + b"\0"
    header_size = 0x1C
    volume_offset = header_size
    base_offset = volume_offset + len(volume)
    suffix_offset = base_offset + len(base)
    body = volume + base + b"\0"
    size = header_size + len(body)
    return struct.pack("<IIIIIII", size, header_size, 1, volume_offset, base_offset, 0,
                       suffix_offset) + body


def counted(text, unicode):
    if unicode:
        data = text.encode("utf-16-le")
        return struct.pack("<H", len(data) // 2) + data
    data = text.encode("cp932")
    return struct.pack("<H", len(data)) + data


def link(local=None, relative=None, working=None, arguments=None, unicode=True):
    flags = IS_UNICODE if unicode else 0
    parts = []
    if local is not None:
        flags |= HAS_LINK_INFO
        parts.append(link_info(local))
    for flag, text in ((HAS_RELATIVE_PATH, relative), (HAS_WORKING_DIR, working),
                       (HAS_ARGUMENTS, arguments)):
        if text is not None:
            flags |= flag
            parts.append(counted(text, unicode))
    return header(flags) + b"".join(parts) + b"\0\0\0\0"


FIXTURES = {
    "unicode_relative.lnk": link(local="C:\\Users\\hana\\ターゲット.txt",
                                 relative=".\\docs\\ターゲット.txt",
                                 arguments='-a "b c" é', unicode=True),
    "ansi_relative.lnk": link(local="C:\\Users\\hana\\メモ帳.txt",
                              relative=".\\docs\\メモ帳.txt",
                              arguments="/view ソフト", unicode=False),
    "local_only.lnk": link(local="C:\\Program Files\\App\\app.sh",
                           working="C:\\Program Files\\App", unicode=True),
    "missing.lnk": link(local="C:\\nothere\\gone.txt", relative=".\\gone.txt", unicode=True),
    "garbage.lnk": b"L\0\0\0 this is not a shell link at all" * 3,
}

if __name__ == "__main__":
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, data in FIXTURES.items():
        (out / name).write_bytes(data)
