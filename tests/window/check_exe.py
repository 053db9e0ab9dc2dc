#!/usr/bin/python3
"""Reads the built Tarnwick.exe back as Windows does: its imports, its icon and its version record.

    check_exe.py Tarnwick.exe
Needs pefile (Debian: python3-pefile). Exits non-zero and names every difference.
"""
import struct
import sys

import pefile

# The DLLs of Windows itself; anything else (Qt, libstdc++, libgcc, winpthread) is a fault.
SYSTEM_DLLS = {
    "advapi32.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll", "dwrite.dll",
    "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "netapi32.dll",
    "ole32.dll", "oleaut32.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll",
    "wtsapi32.dll", "authz.dll", "mpr.dll", "comctl32.dll", "crypt32.dll", "bcrypt.dll",
    "ntdll.dll", "dwmapi.dll", "wininet.dll", "winspool.drv", "uiautomationcore.dll",
}
SYSTEM_DLL_PREFIXES = ("api-ms-win-",)

ICON_SIZES = [256, 128, 48, 32, 24, 16]
VERSION = (1, 0, 0, 0)
STRINGS = {
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "InternalName": "Tarnwick",
    "OriginalFilename": "Tarnwick.exe",
    "ProductName": "Tarnwick",
    "FileDescription": "Tarnwick",
    "CompanyName": "塔恩威克钢材有限公司",
    "LegalCopyright": "© 塔恩威克钢材有限公司 版权所有",
}
LANGUAGE = 0x0804  # Chinese (People's Republic of China)
CODE_PAGE = 1200  # Unicode

faults = []


def check(condition, text):
    if not condition:
        faults.append(text)


def resources(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            for name in entry.directory.entries:
                for language in name.directory.entries:
                    yield name, language


def data(pe, language):
    entry = language.data.struct
    return pe.get_data(entry.OffsetToData, entry.Size)


def check_imports(pe):
    dlls = sorted(i.dll.decode().lower() for i in pe.DIRECTORY_ENTRY_IMPORT)
    for dll in dlls:
        check(dll in SYSTEM_DLLS or dll.startswith(SYSTEM_DLL_PREFIXES),
              f"imports {dll}, which is no Windows system DLL")
    return dlls


def check_icon(pe):
    groups = list(resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"]))
    check(len(groups) == 1, f"{len(groups)} icon groups, expected 1")
    if not groups:
        return
    images = {n.id: data(pe, lang) for n, lang in resources(pe, pefile.RESOURCE_TYPE["RT_ICON"])}
    group = data(pe, groups[0][1])
    _, kind, count = struct.unpack_from("<HHH", group)
    check(kind == 1, "the icon group is no icon")
    sizes = []
    for i in range(count):
        width, height, _, _, _, bits, size, image_id = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * i)
        width, height = width or 256, height or 256
        sizes.append(width)
        image = images.get(image_id, b"")
        check(len(image) == size, f"icon image {image_id}: {len(image)} bytes, group says {size}")
        check(width == height, f"icon image {width}x{height} is not square")
        check(bits == 32, f"icon image {width}: {bits} bits per pixel, expected 32 (alpha)")
        if image.startswith(b"\x89PNG"):
            # Colour type 6: RGBA.
            check(image[25] == 6, f"icon image {width}: PNG without alpha")
        else:
            header_bits = struct.unpack_from("<H", image, 14)[0]
            check(header_bits == 32, f"icon image {width}: bitmap of {header_bits} bits")
    check(sorted(sizes, reverse=True) == ICON_SIZES, f"icon sizes {sizes}, expected {ICON_SIZES}")
    return sizes


def check_version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0]
    file_version = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                    fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
    product_version = (fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF,
                       fixed.ProductVersionLS >> 16, fixed.ProductVersionLS & 0xFFFF)
    check(file_version == VERSION, f"file version {file_version}, expected {VERSION}")
    check(product_version == VERSION, f"product version {product_version}, expected {VERSION}")
    check(fixed.FileType == 1, "the version record does not say application")
    tables = {}
    translations = []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode()] = {
                    k.decode(): v.decode() for k, v in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations.extend(var.entry.get(b"Translation", b"").split())
    key = f"{LANGUAGE:04x}{CODE_PAGE:04x}"
    check(list(tables) == [key], f"string tables {list(tables)}, expected [{key}]")
    strings = tables.get(key, {})
    for name, value in STRINGS.items():
        check(strings.get(name) == value, f"{name} is {strings.get(name)!r}, expected {value!r}")
    translations = [int(t, 16) for t in translations]
    check(translations == [LANGUAGE, CODE_PAGE],
          f"translation {translations}, expected [{LANGUAGE}, {CODE_PAGE}]")
    languages = {lang.id for _, lang in resources(pe, pefile.RESOURCE_TYPE["RT_VERSION"])}
    check(languages == {LANGUAGE}, f"version resource languages {languages}")
    return strings


def main():
    pe = pefile.PE(sys.argv[1])
    dlls = check_imports(pe)
    sizes = check_icon(pe)
    strings = check_version(pe)
    print("imports:", " ".join(dlls))
    print("icon sizes:", sizes)
    print("version:", strings)
    for fault in faults:
        print("FAULT:", fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
