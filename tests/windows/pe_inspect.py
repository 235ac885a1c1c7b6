#!/usr/bin/python3
"""Reads a built quorvelian.scr back as Windows would, without running it.

  pe_inspect.py <quorvelian.scr> <x86_64|i686> <project version> <icon picture folder>

The i686 build cannot run on the test machines, so this is how it is checked:
machine type, subsystem, the DLLs it asks the loader for, and its resources
(string 1, version block, manifest, icon). The icon images are compared pixel
for pixel with the pictures the renderer drew for the Linux icons
(quorvelian-<size>.png in the folder).
Exits 0 when everything holds, 1 listing each fault, 77 when the file is absent.
"""

import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

try:
    import pefile
except ImportError:
    print("python3-pefile is missing (apt-get install python3-pefile)")
    sys.exit(1)

MACHINES = {"x86_64": (0x8664, 0x20B), "i686": (0x14C, 0x10B)}
SUBSYSTEM_WINDOWS_GUI = 2
# What every Windows from 7 on carries in its system folder. A MinGW runtime
# DLL (libgcc_s, libstdc++, libwinpthread) here would stop the .scr from
# starting once copied alone into the system folder.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "opengl32.dll", "glu32.dll", "msvcrt.dll"}
ICON_SIZES = [16, 24, 32, 48, 256]
SUPPORTED_OS = {  # Windows 7, 8, 8.1, 10 and 11
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 6, 14, 16, 24

faults = []


def expect(condition, what):
    if not condition:
        faults.append(what)
    return condition


def decode_png(data):
    """RGBA rows of an 8-bit, non-interlaced RGB or RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError(f"PNG depth {depth} colour type {colour} interlace {interlace}")
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if channels == 3:
            line = bytearray(b for i in range(width) for b in (*line[3 * i:3 * i + 3], 255))
        rows.append(bytes(line))
    return width, height, rows


def decode_icon_image(data):
    """RGBA rows of one RT_ICON image: a PNG, or a 32-bit DIB (bottom-up BGRA)."""
    if data[:4] == b"\x89PNG":
        return decode_png(data)
    size, width, double_height, _, bits = struct.unpack("<IiiHH", data[:16])
    height = double_height // 2
    if not expect(bits == 32, f"icon image {width}x{height} has {bits} bits per pixel, not 32"):
        return width, height, None
    rows = []
    for y in range(height):
        start = size + (height - 1 - y) * width * 4
        bgra = data[start:start + width * 4]
        rows.append(bytes(b for i in range(width) for b in (bgra[4 * i + 2], bgra[4 * i + 1],
                                                             bgra[4 * i], bgra[4 * i + 3])))
    return width, height, rows


def resource(pe, kind, ident):
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.id != kind:
            continue
        for e in t.directory.entries:
            if e.id == ident:
                lang = e.directory.entries[0]
                return pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    return None


def check_header(pe, arch):
    machine, magic = MACHINES[arch]
    expect(pe.FILE_HEADER.Machine == machine,
           f"machine type {pe.FILE_HEADER.Machine:#x}, expected {machine:#x} ({arch})")
    expect(pe.OPTIONAL_HEADER.Magic == magic, f"optional header magic {pe.OPTIONAL_HEADER.Magic:#x}")
    expect(pe.OPTIONAL_HEADER.Subsystem == SUBSYSTEM_WINDOWS_GUI,
           f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, expected the GUI subsystem")
    dlls = set()
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        dlls |= {e.dll.decode().lower() for e in getattr(pe, attr, [])}
    print("imports:", " ".join(sorted(dlls)))
    expect(dlls, "no imports at all: not a linked Windows program")
    expect(not dlls - SYSTEM_DLLS, f"imports DLLs that Windows does not ship: {sorted(dlls - SYSTEM_DLLS)}")


def check_strings(pe):
    # String n lives in block n / 16 + 1 at index n % 16; each entry is a
    # UTF-16 length followed by that many UTF-16 units.
    block = resource(pe, RT_STRING, 1)
    if not expect(block is not None, "no string table block holding string 1"):
        return
    pos = 0
    for index in range(2):
        (length,) = struct.unpack("<H", block[pos:pos + 2])
        text = block[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
        pos += 2 + 2 * length
    print(f"string 1: {text!r}")
    expect(text == "Quorvelian", f"string 1 is {text!r}, expected 'Quorvelian'")


def check_version(pe, version):
    major, minor, patch = (int(v) for v in version.split("."))
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if not expect(fixed is not None, "no version block"):
        return
    for name in ("FileVersion", "ProductVersion"):
        ms, ls = getattr(fixed, name + "MS"), getattr(fixed, name + "LS")
        expect((ms, ls) == ((major << 16) | minor, patch << 16),
               f"fixed {name} {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}, expected {version}.0")
    strings = {}
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    print("version strings:", strings)
    for key in ("CompanyName", "FileDescription", "InternalName", "LegalCopyright", "ProductName"):
        expect(strings.get(key, "").strip(), f"version string {key} is missing or empty")
    expect(strings.get("OriginalFilename") == "quorvelian.scr",
           f"OriginalFilename is {strings.get('OriginalFilename')!r}")
    expect(strings.get("ProductName") == "Quorvelian", f"ProductName is {strings.get('ProductName')!r}")
    for key in ("FileVersion", "ProductVersion"):
        expect(strings.get(key) == version, f"{key} string is {strings.get(key)!r}, expected {version}")


def check_manifest(pe):
    data = resource(pe, RT_MANIFEST, 1)
    if not expect(data is not None, "no manifest with id 1 (the one the loader reads)"):
        return
    root = ET.fromstring(data)

    def local(tag):
        return tag.rsplit("}", 1)[-1]

    found = {local(e.tag): e for e in root.iter()}
    aware = found.get("dpiAware")
    awareness = found.get("dpiAwareness")
    expect(aware is not None and aware.text.strip().lower() == "true/pm",
           "dpiAware is not true/pm (per-monitor on 8.1, system-aware before)")
    modes = [m.strip().lower() for m in awareness.text.split(",")] if awareness is not None else []
    expect(modes[:1] == ["permonitorv2"], f"dpiAwareness does not ask for PerMonitorV2 first: {modes}")
    expect("permonitor" in modes, f"dpiAwareness has no per-monitor fallback: {modes}")
    controls = [e for e in root.iter() if local(e.tag) == "assemblyIdentity"
                and e.get("name") == "Microsoft.Windows.Common-Controls"]
    expect(controls and controls[0].get("version") == "6.0.0.0", "no dependency on common controls 6")
    oses = {e.get("Id").lower() for e in root.iter() if local(e.tag) == "supportedOS"}
    expect(oses == SUPPORTED_OS, f"supportedOS entries {sorted(oses)}")
    print(f"manifest: dpiAware {aware.text if aware is not None else None}, dpiAwareness {modes}, "
          f"{len(oses)} supported systems")


def check_icon(pe, picture_folder):
    group = resource(pe, RT_GROUP_ICON, 1)
    if not expect(group is not None, "no icon group 1"):
        return
    _, kind, count = struct.unpack("<HHH", group[:6])
    expect(kind == 1, f"icon group type {kind}")
    sizes = []
    for i in range(count):
        width, height, _, _, planes, bits, _, ident = struct.unpack(
            "<BBBBHHIH", group[6 + 14 * i:20 + 14 * i])
        size = width or 256
        sizes.append(size)
        expect(width == height, f"icon entry {ident} is not square")
        data = resource(pe, RT_ICON, ident)
        if not expect(data is not None, f"icon image {ident} is missing"):
            continue
        w, h, rows = decode_icon_image(data)
        if rows is None:
            continue
        expect((w, h) == (size, size), f"icon image {ident} is {w}x{h}, listed as {size}")
        alphas = [row[x + 3] for row in rows for x in range(0, len(row), 4)]
        clear = sum(a == 0 for a in alphas) / len(alphas)
        solid = sum(a >= 128 for a in alphas) / len(alphas)
        form = "PNG" if data[:4] == b"\x89PNG" else "DIB"
        print(f"icon {size}: {form}, {clear:.0%} transparent, {solid:.0%} mostly opaque")
        # A flower on a see-through ground: both must be there.
        expect(clear >= 0.2, f"icon {size}: only {clear:.0%} of the pixels are transparent")
        expect(solid >= 0.01, f"icon {size}: only {solid:.1%} of the pixels are mostly opaque")
        source = os.path.join(picture_folder, f"quorvelian-{size}.png")
        if expect(os.path.exists(source), f"no rendered picture {source}"):
            with open(source, "rb") as f:
                sw, sh, source_rows = decode_png(f.read())
            expect((sw, sh, source_rows) == (w, h, rows),
                   f"icon {size} differs from the rendered picture {source}")
    expect(sorted(sizes) == ICON_SIZES, f"icon sizes {sorted(sizes)}, expected {ICON_SIZES}")


def main():
    path, arch, version, pictures = sys.argv[1:5]
    if not os.path.exists(path):
        print(f"{path} is not built; build the {arch} preset first")
        return 77
    pe = pefile.PE(path)
    print(f"{path}: {os.path.getsize(path)} bytes")
    check_header(pe, arch)
    check_strings(pe)
    check_version(pe, version)
    check_manifest(pe)
    check_icon(pe, pictures)
    for fault in faults:
        print("FAIL:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
