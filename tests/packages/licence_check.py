#!/usr/bin/python3
"""Every package carries the licence: each zip LICENSE.txt (the project's
LICENSE, CRLF in the Windows ones) and the notices of the runtimes built into
it; each .deb a copyright file in Debian's machine-readable format (read
with python3-debian) that gives the program and the picture the project's
MIT licence, word for word, and the metainfo the FSF All Permissive License,
as .reuse/dep5 does. A package of a kind this check does not know fails it.
Usage: licence_check.py PACKAGES_DIR PROJECT_ROOT"""
import io
import pathlib
import re
import subprocess
import sys
import tarfile
import zipfile

from debian.copyright import Copyright

# What each notices file must name: the runtime, and the licence whose
# conditions make the notice needed.
NOTICES = {
    "windows": ["mingw-w64 project", "Zope Public License", "Lucent Technologies",
                "GCC Runtime Library Exception"],
    "web": ["Emscripten authors", "Rich Felker", "Sun Microsystems", "MIT licence"],
}
# Source files and the licence each must have, in the .deb and in .reuse/dep5.
LICENSED = {"app/winmain.cpp": "MIT", "assets/earth.bmp": "MIT",
            "packaging/ondulix.metainfo.xml.in": "FSFAP"}


def fail(what):
    sys.exit(f"FAIL: {what}")


def words(text):
    return " ".join(text.split())


def mit_permission(licence_file):
    """The MIT text from its permission grant on, as Debian's License
    paragraph holds it (the title and the copyright line stand elsewhere)."""
    text = licence_file.read_text()
    return words(text[text.index("Permission is hereby granted"):])


def check_zip(path, root, kind, crlf):
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        top = names[0].split("/")[0]
        shipped = {n[len(top) + 1:]: z.read(n) for n in names if not n.endswith("/")}
    expected = {"LICENSE.txt": root / "LICENSE",
                "THIRD-PARTY-NOTICES.txt": root / "packaging" / kind / "THIRD-PARTY-NOTICES.txt"}
    for name, source in expected.items():
        if name not in shipped:
            fail(f"{path.name} has no {name}")
        want = source.read_bytes()
        if crlf:
            want = want.replace(b"\n", b"\r\n")
        if shipped[name] != want:
            fail(f"{path.name}: {name} is not {source.relative_to(root)}"
                 f"{' with CRLF line ends' if crlf else ''}")
    notices = shipped["THIRD-PARTY-NOTICES.txt"].decode()
    for needed in NOTICES[kind]:
        if needed not in notices:
            fail(f"{path.name}: THIRD-PARTY-NOTICES.txt does not name {needed!r}")
    return f"{path.name}: LICENSE.txt, THIRD-PARTY-NOTICES.txt"


def licences(copyright, where):
    """{source file: licence} for LICENSED, by the Files paragraphs."""
    found = {}
    for source in LICENSED:
        paragraph = copyright.find_files_paragraph(source)
        if paragraph is None:
            fail(f"{where}: no Files paragraph covers {source}")
        found[source] = paragraph.license.synopsis
    return found


def check_deb(path, root):
    data = subprocess.run(["dpkg-deb", "--fsys-tarfile", str(path)], check=True,
                          stdout=subprocess.PIPE).stdout
    with tarfile.open(fileobj=io.BytesIO(data)) as tar:
        member = tar.extractfile("./usr/share/doc/ondulix/copyright")
        text = member.read().decode()
    try:
        copyright = Copyright(io.StringIO(text), strict=True)
    except Exception as error:  # the parser's errors have no common base
        fail(f"{path.name}: the copyright file is not machine-readable: {error}")
    if not copyright.header.known_format():
        fail(f"{path.name}: the copyright file's Format is {copyright.header.format!r}")
    texts = {p.license.synopsis: p.license.text for p in copyright.all_license_paragraphs()}
    for paragraph in copyright.all_files_paragraphs():
        synopsis = paragraph.license.synopsis
        if not paragraph.copyright:
            fail(f"{path.name}: Files {paragraph.files} has no Copyright")
        if not (paragraph.license.text or texts.get(synopsis)):
            fail(f"{path.name}: no text of the licence {synopsis}")
    found = licences(copyright, path.name)
    if found != LICENSED:
        fail(f"{path.name}: licences {found}, expected {LICENSED}")
    with open(root / ".reuse" / "dep5") as dep5:
        in_sources = licences(Copyright(dep5), ".reuse/dep5")
    if in_sources != found:
        fail(f".reuse/dep5 gives {in_sources}, the .deb's copyright file {found}")
    if words(texts["MIT"].replace("\n.\n", "\n")) != mit_permission(root / "LICENSE"):
        fail(f"{path.name}: its MIT text is not that of LICENSE")
    return f"{path.name}: copyright in the machine-readable format, MIT and FSFAP"


def main():
    packages, root = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    checked = []
    for path in sorted(packages.iterdir()):
        if path.name == "SHA256SUMS":
            continue
        if re.fullmatch(r"ondulix_[0-9.]+_(amd64|arm64)\.deb", path.name):
            checked.append(check_deb(path, root))
        elif re.fullmatch(r"ondulix-[0-9.]+-windows-(x86_64|i686)\.zip", path.name):
            checked.append(check_zip(path, root, "windows", crlf=True))
        elif re.fullmatch(r"ondulix-[0-9.]+-web\.zip", path.name):
            checked.append(check_zip(path, root, "web", crlf=False))
        else:
            fail(f"{path.name}: a package this check does not know")
    if not checked:
        fail(f"no packages in {packages}")
    print("\n".join(checked))
    print(f"PASS: the licence in all {len(checked)} packages")


if __name__ == "__main__":
    main()
