#!/usr/bin/python3
"""What would make two builds of the same sources differ, looked for in
every package: a date other than SOURCE_DATE_EPOCH (the .debs' ar members
and the files of their tar archives, the zips' entries, which must also be
in sorted order, and the time stamp in the header of each .exe), and a
folder of the build named in any file shipped, compressed files (the
changelog, the manual page) unpacked first.
Usage: reproducible_check.py PACKAGES_DIR FOLDER...   (SOURCE_DATE_EPOCH set)"""
import gzip
import io
import os
import struct
import pathlib
import sys
import tarfile
import time
import zipfile

AR_MAGIC = b"!<arch>\n"


def fail(what):
    sys.exit(f"FAIL: {what}")


def ar_members(data):
    """(name, mtime, bytes) of each member of an ar archive (a .deb)."""
    if not data.startswith(AR_MAGIC):
        fail("not an ar archive")
    at = len(AR_MAGIC)
    while at < len(data):
        header = data[at:at + 60]
        name, mtime, size = header[:16].decode().strip(), int(header[16:28]), int(header[48:58])
        yield name.rstrip("/"), mtime, data[at + 60:at + 60 + size]
        at += 60 + size + size % 2


def deb_files(path, epoch):
    """(name, bytes) of every file in a .deb, its dates checked."""
    for member, mtime, data in ar_members(path.read_bytes()):
        if mtime != epoch:
            fail(f"{path.name}: ar member {member} dated {mtime}")
        if not member.endswith((".tar.gz", ".tar.xz", ".tar.zst", ".tar")):
            yield member, data
            continue
        with tarfile.open(fileobj=io.BytesIO(data)) as tar:
            for entry in tar:
                if entry.mtime != epoch:
                    fail(f"{path.name}: {member}/{entry.name} dated {entry.mtime}")
                if entry.isfile():
                    yield f"{member}/{entry.name}", tar.extractfile(entry).read()


def zip_files(path, epoch):
    """(name, bytes) of every file in a zip, its order and dates checked."""
    date = time.gmtime(epoch)[:6]
    date = date[:5] + (date[5] // 2 * 2,)  # a zip keeps seconds in twos
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        if names != sorted(names):
            fail(f"{path.name}: entries out of order: {names}")
        for info in z.infolist():
            if info.date_time != date:
                fail(f"{path.name}: {info.filename} dated {info.date_time}, expected {date}")
            if info.is_dir():
                continue
            data = z.read(info)
            if info.filename.endswith(".exe"):
                # The COFF header follows the "PE\0\0" that e_lfanew points at.
                stamp = struct.unpack_from("<I", data, struct.unpack_from("<I", data, 0x3C)[0] + 8)[0]
                if stamp != epoch:
                    fail(f"{path.name}: {info.filename} is stamped {stamp}")
            yield info.filename, data


def main():
    packages, folders = pathlib.Path(sys.argv[1]), sys.argv[2:]
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    needles = {folder.encode() for folder in folders}
    count = 0
    for path in sorted(packages.iterdir()):
        if path.suffix == ".deb":
            files = deb_files(path, epoch)
        elif path.suffix == ".zip":
            files = zip_files(path, epoch)
        else:
            continue
        for name, data in files:
            if name.endswith(".gz"):
                data = gzip.decompress(data)
            for needle in needles:
                if needle in data:
                    fail(f"{path.name}: {name} holds the folder {needle.decode()}")
        count += 1
    if not count:
        fail(f"no packages in {packages}")
    print(f"PASS: {count} packages dated {epoch} throughout, naming none of {', '.join(folders)}")


if __name__ == "__main__":
    main()
