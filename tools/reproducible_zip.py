#!/usr/bin/python3
"""Rewrites a zip so that its bytes depend only on the names, contents and
executable bits of what it holds: entries in sorted order, each dated
SOURCE_DATE_EPOCH (UTC), with mode 0644, or 0755 for folders and programs,
and nothing of the machine that packed it (owner, extra time stamps).
Usage: reproducible_zip.py ZIP   (SOURCE_DATE_EPOCH in the environment)"""
import os
import sys
import time
import zipfile


def main():
    path = sys.argv[1]
    date = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
    with zipfile.ZipFile(path) as old:
        entries = [(info, old.read(info)) for info in old.infolist()]
    with zipfile.ZipFile(path + ".tmp", "w") as new:
        for info, data in sorted(entries, key=lambda entry: entry[0].filename):
            folder = info.is_dir()
            executable = folder or (info.external_attr >> 16) & 0o111
            entry = zipfile.ZipInfo(info.filename, date_time=date)
            entry.create_system = 3  # Unix, whose mode bits follow
            entry.external_attr = ((0o40755 if folder else 0o100755 if executable else 0o100644)
                                   << 16) | (0x10 if folder else 0)
            entry.compress_type = zipfile.ZIP_STORED if folder else zipfile.ZIP_DEFLATED
            new.writestr(entry, data, compresslevel=9)
    os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
