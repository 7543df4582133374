#!/usr/bin/python3
"""Checks Tollgram.dll by reading the file, as Kavrex's loader will meet it,
so that the 32-bit product is checked on machines that cannot run it:

- a PE32 image for i386 with the DLL flag;
- exactly the export table's names, undecorated;
- every export returns with a plain `ret`, leaving the arguments to the
  caller (cdecl), on every path its code can take without a call's help;
- imports from Windows' own DLLs only (no MinGW runtime DLL to ship);
- the version resource: 1.9.1.0, a DLL, InternalName and OriginalFilename.

    check_dll_file.py DLL EXPORT_TABLE OBJDUMP

Prints one line per fault and exits 1 when there is any.
"""
import re
import subprocess
import sys

import pefile

VERSION = (1, 9, 1, 0)
VFT_DLL = 2
# The system's own DLLs, which every Windows has; anything else would have
# to travel beside the DLL.
WINDOWS_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ntdll.dll", "ole32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "version.dll",
}
# Enough for any shim; a walk that goes on longer has lost its way.
MAX_WALK = 20000


def table_names(table_file):
    with open(table_file, encoding="utf-8") as table:
        return [m.group(1) for m in re.finditer(r"^TOLLGRAM_EXPORT\((\w+),", table.read(), re.M)]


def looks_decorated(name):
    return name.startswith("_") or "@" in name


class Code:
    """The image's code as objdump decodes it: address -> (mnemonic,
    operands, next address)."""

    LINE = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")
    PREFIXES = {"repz", "rep", "repnz", "notrack", "bnd", "ds", "cs", "data16", "lock"}

    def __init__(self, objdump, dll):
        listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", dll], check=True,
                                 capture_output=True, text=True).stdout
        rows = []
        for line in listing.splitlines():
            match = self.LINE.match(line)
            if match:
                words = match.group(2).split()
                while len(words) > 1 and words[0] in self.PREFIXES:
                    words.pop(0)
                if words:
                    rows.append((int(match.group(1), 16), words[0], " ".join(words[1:])))
        self.at = {}
        for (address, mnemonic, operands), following in zip(rows, rows[1:] + [(None,)]):
            self.at[address] = (mnemonic, operands, following[0])

    @staticmethod
    def direct_target(operands):
        match = re.match(r"^(?:0x)?([0-9a-f]+)\b", operands)
        return int(match.group(1), 16) if match and not operands.startswith("*") else None

    def returns(self, entry):
        """The return instructions every path from entry reaches, and the
        faults of the walk."""
        returns, faults, seen, todo = [], [], set(), [entry]
        while todo and len(seen) < MAX_WALK:
            address = todo.pop()
            while address is not None and address not in seen and len(seen) < MAX_WALK:
                seen.add(address)
                if address not in self.at:
                    faults.append(f"no instruction decoded at {address:#x}")
                    break
                mnemonic, operands, following = self.at[address]
                if mnemonic.startswith("ret") or mnemonic.startswith("lret"):
                    returns.append((address, f"{mnemonic} {operands}".strip()))
                    break
                if mnemonic.startswith("j"):
                    target = self.direct_target(operands)
                    if target is None:
                        faults.append(f"an indirect jump at {address:#x} ({mnemonic} {operands})")
                        break
                    if mnemonic in ("jmp", "jmpl"):
                        address = target
                        continue
                    todo.append(target)
                if mnemonic in ("ud2", "int3", "hlt"):
                    break
                address = following
        if len(seen) >= MAX_WALK:
            faults.append(f"more than {MAX_WALK} instructions reached")
        return returns, faults


def check(dll, table_file, objdump):
    faults = []
    pe = pefile.PE(dll)

    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        faults.append(f"machine {pe.FILE_HEADER.Machine:#x}, not i386 (0x14c)")
    if pe.OPTIONAL_HEADER.Magic != pefile.OPTIONAL_HEADER_MAGIC_PE:
        faults.append(f"optional header magic {pe.OPTIONAL_HEADER.Magic:#x}, not PE32 (0x10b)")
    if not pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"]:
        faults.append("the DLL flag is not set")

    expected = table_names(table_file)
    exports = {}
    if hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols:
            name = symbol.name.decode("ascii", "replace") if symbol.name else f"#{symbol.ordinal}"
            exports[name] = symbol.address
    for name in expected:
        if name not in exports:
            faults.append(f"export {name} is missing")
    for name in sorted(set(exports) - set(expected)):
        kind = "a decorated name" if looks_decorated(name) else "not in the export table"
        faults.append(f"export {name} is {kind}")

    code = Code(objdump, dll)
    base = pe.OPTIONAL_HEADER.ImageBase
    for name in expected:
        if name not in exports:
            continue
        returns, walk_faults = code.returns(base + exports[name])
        faults += [f"export {name}: {fault}" for fault in walk_faults]
        if not returns:
            faults.append(f"export {name}: no return instruction reached")
        for address, instruction in returns:
            if instruction != "ret":
                faults.append(f"export {name} returns with `{instruction}` at {address:#x}: "
                              "it removes its arguments, which are the caller's")

    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        library = entry.dll.decode("ascii", "replace")
        if library.lower() not in WINDOWS_DLLS:
            faults.append(f"imports from {library}, which is not a DLL of Windows itself")

    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    if fixed is None:
        faults.append("no version resource")
    else:
        ms, ls = (VERSION[0] << 16) | VERSION[1], (VERSION[2] << 16) | VERSION[3]
        if (fixed.FileVersionMS, fixed.FileVersionLS) != (ms, ls):
            faults.append(f"file version {fixed.FileVersionMS:#x} {fixed.FileVersionLS:#x}, not 1.9.1.0")
        if (fixed.ProductVersionMS, fixed.ProductVersionLS) != (ms, ls):
            faults.append(f"product version {fixed.ProductVersionMS:#x} {fixed.ProductVersionLS:#x}, not 1.9.1.0")
        if fixed.FileType != VFT_DLL:
            faults.append(f"file type {fixed.FileType}, not a DLL ({VFT_DLL})")
        texts = {}
        for info in getattr(pe, "FileInfo", []):
            for entry in info:
                for table in getattr(entry, "StringTable", []):
                    texts.update({k.decode(): v.decode() for k, v in table.entries.items()})
        for key, value in (("InternalName", "Tollgram"), ("OriginalFilename", "Tollgram.dll"),
                           ("FileVersion", "1.9.1.0")):
            if texts.get(key) != value:
                faults.append(f"version text {key} is {texts.get(key)!r}, not {value!r}")
    return faults, len(exports)


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[-3].strip(), file=sys.stderr)
        return 2
    dll = sys.argv[1]
    faults, count = check(*sys.argv[1:])
    for fault in faults:
        print(f"{dll}: {fault}")
    if not faults:
        print(f"{dll}: PE32 i386 DLL, {count} undecorated exports returning with a plain ret, "
              "Windows imports only, version 1.9.1.0")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
