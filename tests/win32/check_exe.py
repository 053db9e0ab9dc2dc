#!/usr/bin/python3
"""Reads the built Tarnwick.exe back as Windows 7 SP1 would: its headers, imports, manifest,
banner, icon and version record.

    check_exe.py Tarnwick.exe [--machine x64|x86]
Needs pefile (Debian: python3-pefile). Names every fault and exits non-zero if there is one.
The functions later than Windows 7 come from later_functions.txt beside this script, made by
scripts/later-windows-functions.py.
"""
import argparse
import os
import pathlib
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

# System DLLs that Windows 7 SP1 ships and a native window program may import. No API sets
# (api-ms-win-*, ext-ms-*), no shcore (Windows 8.1), no runtime DLLs (ucrtbase, vcruntime,
# msvcp140, libstdc++, libgcc, libwinpthread): those must not be needed to start.
WINDOWS_7_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll",
    "comctl32.dll", "comdlg32.dll", "shell32.dll", "shlwapi.dll", "uxtheme.dll", "dwmapi.dll",
    "ole32.dll", "oleaut32.dll", "oleacc.dll", "uiautomationcore.dll", "propsys.dll",
    "imm32.dll", "usp10.dll", "msimg32.dll", "gdiplus.dll", "windowscodecs.dll",
    "d2d1.dll", "dwrite.dll", "d3d11.dll", "dxgi.dll", "version.dll", "winmm.dll",
}
LATER_FUNCTIONS = pathlib.Path(__file__).with_name("later_functions.txt")

# The PE machine and the manifest's processorArchitecture of each build.
MACHINES = {"x64": (pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"], "amd64"),
            "x86": (pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "x86")}
WINDOWS_7 = (6, 1)
MAX_SIZE = 1024 * 1024

NS_ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
NS_ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
NS_COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
NS_SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
NS_SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
WINDOWS_7_ID = "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                   "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}

BANNERS = {"BANNER": (350, 178), "BANNER2X": (700, 356)}

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
    return condition


def resources(pe, type_id):
    """(name or id, data entry) of each resource of the type, in every language."""
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in directory.entries if directory else []:
        if entry.id == type_id:
            for name in entry.directory.entries:
                for language in name.directory.entries:
                    yield (str(name.name) if name.name else name.id), language


def data(pe, language):
    entry = language.data.struct
    return pe.get_data(entry.OffsetToData, entry.Size)


def later_functions():
    lines = LATER_FUNCTIONS.read_text().splitlines()
    return {line.split()[0] for line in lines if line and not line.startswith("#")}


def check_imports(pe):
    later = later_functions()
    dlls, count = [], 0
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode().lower()
        dlls.append(dll)
        check(dll in WINDOWS_7_DLLS, f"imports {dll}, which is none of the Windows 7 SP1 DLLs "
                                     "this program may use")
        for function in entry.imports:
            count += 1
            if check(function.name, f"imports ordinal {function.ordinal} of {dll}; "
                                    "only names can be checked"):
                name = function.name.decode()
                check(name not in later, f"imports {dll}!{name}, which Windows 7 SP1 lacks")
    return sorted(dlls), count


def check_headers(pe, machine):
    machine_id, _ = MACHINES[machine]
    check(pe.FILE_HEADER.Machine == machine_id,
          f"machine {pe.FILE_HEADER.Machine:#x}, expected {machine_id:#x} ({machine})")
    header = pe.OPTIONAL_HEADER
    check(header.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
          f"subsystem {header.Subsystem}, expected the Windows GUI")
    subsystem = (header.MajorSubsystemVersion, header.MinorSubsystemVersion)
    system = (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion)
    check(subsystem <= WINDOWS_7,
          "subsystem version %d.%d; Windows 7 starts nothing above 6.1" % subsystem)
    check(system <= WINDOWS_7, "operating system version %d.%d, expected at most 6.1" % system)
    return subsystem


def check_manifest(pe, machine):
    manifests = {name: data(pe, lang)
                 for name, lang in resources(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])}
    check(list(manifests) == [1], f"manifests {list(manifests)}, expected [1]")
    if 1 not in manifests:
        return None
    try:
        root = ElementTree.fromstring(manifests[1])
    except ElementTree.ParseError as error:
        faults.append(f"the manifest is no XML: {error}")
        return None
    check(root.tag == NS_ASM_V1 + "assembly", f"the manifest's root is {root.tag}")
    # Windows starts no program whose assembly version is not four numbers of 16 bits.
    identity = root.find(NS_ASM_V1 + "assemblyIdentity")
    version = identity.get("version", "") if identity is not None else ""
    parts = version.split(".")
    four_numbers = len(parts) == 4 and all(
        re.fullmatch("[0-9]+", part) and int(part) <= 65535 for part in parts)
    check(four_numbers, f"the manifest's assembly version is {version!r}, expected four "
                        "numbers from 0 to 65535")
    dependencies = root.findall(f"{NS_ASM_V1}dependency/{NS_ASM_V1}dependentAssembly/"
                                f"{NS_ASM_V1}assemblyIdentity")
    controls = [d.attrib for d in dependencies if d.get("name") == COMMON_CONTROLS["name"]]
    if check(len(controls) == 1, "the manifest depends on no Common-Controls assembly"):
        for key, value in COMMON_CONTROLS.items():
            check(controls[0].get(key) == value,
                  f"Common-Controls {key} is {controls[0].get(key)!r}, expected {value!r}")
        architecture = controls[0].get("processorArchitecture")
        check(architecture in ("*", MACHINES[machine][1]),
              f"Common-Controls for processor {architecture!r} on {machine}")
    settings = f"{NS_ASM_V3}application/{NS_ASM_V3}windowsSettings/"
    dpi_aware = root.findtext(settings + NS_SETTINGS_2005 + "dpiAware")
    check(dpi_aware is not None and dpi_aware.strip().lower() == "true/pm",
          f"dpiAware (2005 WindowsSettings) is {dpi_aware!r}, expected 'true/pm'")
    awareness = root.findtext(settings + NS_SETTINGS_2016 + "dpiAwareness") or ""
    check("permonitorv2" in [a.strip().lower() for a in awareness.split(",")],
          f"dpiAwareness (2016 WindowsSettings) is {awareness!r}, without PerMonitorV2")
    supported = "/".join(NS_COMPATIBILITY + tag
                         for tag in ("compatibility", "application", "supportedOS"))
    systems = {s.get("Id", "").lower() for s in root.iterfind(supported)}
    check(WINDOWS_7_ID in systems, "the manifest does not list Windows 7 as a supported system")
    return tuple(int(part) for part in parts) if four_numbers else None


def jpeg_size(image):
    """(width, height) from the first start-of-frame marker, or None."""
    if not image.startswith(b"\xff\xd8\xff"):
        return None
    at = 2
    while at + 4 <= len(image) and image[at] == 0xFF:
        marker = image[at + 1]
        if marker == 0xFF:  # fill byte
            at += 1
            continue
        if marker == 0x01 or 0xD0 <= marker <= 0xD7:  # no length
            at += 2
            continue
        if marker == 0xDA:  # scan data: no frame header came before it
            return None
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            if at + 9 > len(image):
                return None
            height, width = struct.unpack_from(">HH", image, at + 5)
            return width, height
        at += 2 + struct.unpack_from(">H", image, at + 2)[0]
    return None


def check_banners(pe):
    found = {name: data(pe, lang)
             for name, lang in resources(pe, pefile.RESOURCE_TYPE["RT_RCDATA"])}
    for name, size in BANNERS.items():
        if check(name in found, f"no RCDATA resource {name}"):
            actual = jpeg_size(found[name])
            check(actual == size, f"{name} is a JPEG of {actual}, expected {size}"
                  if found[name].startswith(b"\xff\xd8\xff") else f"{name} is no JPEG")


def check_icon(pe):
    groups = list(resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"]))
    check(len(groups) == 1, f"{len(groups)} icon groups, expected 1")
    if not groups:
        return []
    images = {n: data(pe, lang) for n, lang in resources(pe, pefile.RESOURCE_TYPE["RT_ICON"])}
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
        if len(image) < 40:
            continue
        if image.startswith(b"\x89PNG"):
            image_width, colour_type = struct.unpack_from(">I", image, 16)[0], image[25]
            check(colour_type == 6, f"icon image {width}: PNG without alpha")  # 6: RGBA
        else:
            image_width, _, _, header_bits = struct.unpack_from("<iiHH", image, 4)
            check(header_bits == 32, f"icon image {width}: bitmap of {header_bits} bits")
        check(image_width == width, f"icon image {width}: holds a picture {image_width} wide")
    check(sorted(sizes, reverse=True) == ICON_SIZES, f"icon sizes {sizes}, expected {ICON_SIZES}")
    return sizes


def check_version(pe):
    if not check(hasattr(pe, "VS_FIXEDFILEINFO") and hasattr(pe, "FileInfo"),
                 "no version record"):
        return {}
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
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("--machine", choices=sorted(MACHINES), default="x64")
    args = parser.parse_args()
    size = os.path.getsize(args.exe)
    check(size <= MAX_SIZE, f"{size} bytes, more than {MAX_SIZE}")
    pe = pefile.PE(args.exe)
    subsystem = check_headers(pe, args.machine)
    dlls, functions = check_imports(pe)
    assembly_version = check_manifest(pe, args.machine)
    check_banners(pe)
    sizes = check_icon(pe)
    strings = check_version(pe)
    if assembly_version and hasattr(pe, "VS_FIXEDFILEINFO"):
        fixed = pe.VS_FIXEDFILEINFO[0]
        file_version = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                        fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
        check(assembly_version == file_version,
              f"the manifest's assembly version {assembly_version} is not the file version "
              f"{file_version}")
    print(f"{pathlib.Path(args.exe).name}: {size} bytes, {args.machine}, "
          "subsystem version %d.%d" % subsystem)
    print(f"imports {functions} functions from", " ".join(dlls))
    print("icon sizes:", sizes)
    print("version:", strings.get("FileVersion"))
    for fault in faults:
        print("FAULT:", fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
