#!/usr/bin/python3
"""The resources of the .exe in a Windows zip, read with a real PE reader
(Debian's python3-pefile): the icon's sizes, the version equal to the
project's, and the manifest's execution level, supported Windows and DPI
awareness. Usage: windows_resources_check.py ZIP VERSION"""
import io
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile

import pefile

WINDOWS = {"7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
           "8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
           "8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
           "10 and 11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
ICON_SIDES = [16, 32, 48, 256]


def fail(what):
    sys.exit(f"FAIL: {what}")


def resources(pe, type_id):
    """{id: bytes} of every resource of one type."""
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory else []:
        if kind.id != type_id:
            continue
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                entry = lang.data.struct
                found[name.id] = pe.get_data(entry.OffsetToData, entry.Size)
    return found


def check_icon(pe):
    groups = resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    images = resources(pe, pefile.RESOURCE_TYPE["RT_ICON"])
    if not groups:
        fail("no icon")
    group = groups[min(groups)]  # the one Explorer shows
    _, kind, count = struct.unpack_from("<HHH", group)
    sides = []
    for i in range(count):
        width, height, _, _, _, bits, size, image_id = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * i)
        side = width or 256
        data = images.get(image_id, b"")
        if (height or 256) != side or bits != 32 or len(data) != size:
            fail(f"icon entry {i}: {width}x{height}, {bits} bits, {len(data)} of {size} bytes")
        if data.startswith(b"\x89PNG"):
            drawn = struct.unpack_from(">II", data, 16)
        else:
            drawn = struct.unpack_from("<ii", data, 4)
            drawn = (drawn[0], drawn[1] // 2)  # the colour bitmap and its mask
        if drawn != (side, side):
            fail(f"the {side}-pixel icon holds a {drawn[0]}x{drawn[1]} picture")
        sides.append(side)
    if kind != 1 or sorted(sides) != ICON_SIDES:
        fail(f"icon sizes {sides}, expected {ICON_SIDES}")
    return sides


def check_version(pe, version):
    if not getattr(pe, "VS_FIXEDFILEINFO", None):
        fail("no version information")
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16]
    if ".".join(map(str, numbers)) != version or fixed.FileVersionLS & 0xFFFF:
        fail(f"FILEVERSION {numbers}, expected {version}")
    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    expected = {"FileVersion": version, "ProductVersion": version, "ProductName": "Ondulix",
                "OriginalFilename": "ondulix.exe"}
    for key, value in expected.items():
        if strings.get(key) != value:
            fail(f"{key} is {strings.get(key)!r}, expected {value!r}")
    if not strings.get("FileDescription"):
        fail("no FileDescription")
    legal = strings.get("LegalCopyright", "")
    if "the Ondulix developers" not in legal or "MIT" not in legal:
        fail(f"LegalCopyright {legal!r} does not name the Ondulix developers and the MIT licence")
    return strings


def check_manifest(pe):
    manifests = resources(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
    if 1 not in manifests:
        fail("no application manifest (RT_MANIFEST 1)")
    root = ET.fromstring(manifests[1])
    found = {el.tag.split("}")[1]: el for el in root.iter()}
    level = found.get("requestedExecutionLevel")
    if level is None or level.get("level") != "asInvoker":
        fail("the manifest does not ask for asInvoker")
    ids = {el.get("Id").lower() for el in root.iter() if el.tag.endswith("}supportedOS")}
    for name, guid in WINDOWS.items():
        if guid not in ids:
            fail(f"the manifest does not name Windows {name} as supported")
    awareness = (found.get("dpiAware"), found.get("dpiAwareness"))
    declared = [el is not None and el.text.strip() for el in awareness]
    if declared != ["true/pm", "PerMonitorV2, PerMonitor"]:
        fail("the manifest's DPI awareness is not per monitor (true/pm; PerMonitorV2, PerMonitor)")


def main():
    zip_path, version = sys.argv[1], sys.argv[2]
    with zipfile.ZipFile(zip_path) as z:
        exe = [n for n in z.namelist() if n.endswith("/ondulix.exe")]
        if len(exe) != 1:
            fail(f"{zip_path} holds no single ondulix.exe")
        pe = pefile.PE(data=z.read(exe[0]))
    sides = check_icon(pe)
    strings = check_version(pe, version)
    check_manifest(pe)
    print(f"{exe[0]}: icon {sides}, version {strings['FileVersion']} "
          f"({strings['FileDescription']}), manifest asInvoker, Windows 7-11, per-monitor DPI")


if __name__ == "__main__":
    main()
