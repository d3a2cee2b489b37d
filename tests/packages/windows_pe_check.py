#!/usr/bin/python3
"""The hardening of the .exe in a Windows zip, read with a real PE reader
(python3-pefile): the loader's flags (ASLR, high-entropy ASLR on x86_64,
DEP, Terminal Server awareness) and the stack protector: GCC's failure
handler (libssp's __stack_chk_fail, found by the message it prints, as the
package's .exe has no symbols) and the functions that call it when their
canary was overwritten.
Usage: windows_pe_check.py ZIP"""
import struct
import sys
import zipfile

import pefile

FLAGS = {"DYNAMIC_BASE": 0x0040, "NX_COMPAT": 0x0100, "TERMINAL_SERVER_AWARE": 0x8000}
HIGH_ENTROPY_VA = 0x0020
SMASHED = b"*** stack smashing detected ***"
# Fewer protected functions than this means the program itself was not
# compiled with the protector, only linked with its runtime.
MIN_PROTECTED = 5


def fail(what):
    sys.exit(f"FAIL: {what}")


def check_flags(pe, wide):
    have = pe.OPTIONAL_HEADER.DllCharacteristics
    wanted = dict(FLAGS, **({"HIGH_ENTROPY_VA": HIGH_ENTROPY_VA} if wide else {}))
    missing = [name for name, bit in wanted.items() if not have & bit]
    if missing:
        fail(f"DllCharacteristics {have:#06x} lacks {', '.join(missing)}")
    return sorted(wanted)


def code_references(pe, text, target_rva):
    """Offsets in .text of the 32-bit fields that address target_rva: an
    absolute address (i686) or one relative to the next instruction (x86_64,
    where an address operand ends its instruction)."""
    base, start = pe.OPTIONAL_HEADER.ImageBase, text.VirtualAddress
    code = text.get_data()
    found = []
    for at in range(len(code) - 3):
        value = struct.unpack_from("<i", code, at)[0]
        if value & 0xFFFFFFFF == base + target_rva or start + at + 4 + value == target_rva:
            found.append(at)
    return found


def calls(code):
    """{target offset: [call offsets]} of every direct near call (E8 rel32)."""
    targets = {}
    for at in range(len(code) - 4):
        if code[at] == 0xE8:
            target = at + 5 + struct.unpack_from("<i", code, at + 1)[0]
            if 0 <= target < len(code):
                targets.setdefault(target, []).append(at)
    return targets


def check_stack_protector(pe):
    text = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".text")
    message_rva = None
    for section in pe.sections:
        at = section.get_data().find(SMASHED)
        if at >= 0:
            message_rva = section.VirtualAddress + at
    if message_rva is None:
        fail("no stack protector: libssp's failure message is not in the .exe")
    references = code_references(pe, text, message_rva)
    if not references:
        fail("no code prints the stack protector's message")
    # The handler begins at most a few instructions before it loads the
    # message, and every protected function calls it.
    targets = calls(text.get_data())
    handler = max((t for t in targets if references[0] - 32 <= t <= references[0]), default=None)
    if handler is None:
        fail("the stack protector's handler is never called")
    callers = len(targets[handler])
    if callers < MIN_PROTECTED:
        fail(f"only {callers} calls of the stack protector's handler, expected {MIN_PROTECTED} or more")
    return callers


def main():
    with zipfile.ZipFile(sys.argv[1]) as z:
        exe = next(n for n in z.namelist() if n.endswith("/ondulix.exe"))
        pe = pefile.PE(data=z.read(exe))
    wide = pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS
    flags = check_flags(pe, wide)
    callers = check_stack_protector(pe)
    print(f"{exe}: {', '.join(flags)}; "
          f"the stack protector's handler called from {callers} places")


if __name__ == "__main__":
    main()
