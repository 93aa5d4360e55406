#!/usr/bin/env python3
"""Checks the export and import tables of rvxjava.dll with objdump -p.

Usage: check_dll_tables.py --objdump OBJDUMP --dll rvxjava.dll --bits 32|64 --report FILE.xml

- exports: exactly the 21 JNI names a Windows JVM looks up; on 32-bit x86
  decorated as _name@bytes, on x86-64 undecorated;
- engine imports: rvx_txif.dll bound by ordinal only, ordinals 301-307,
  401-407, 420 and 421, no name;
- dependencies: nothing beyond system DLLs and rvx_txif.dll.
Writes one JUnit test case per check and exits non-zero on any failure.
"""
import argparse
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

NATIVE_METHODS = {
    "Java_quorvel_rvx_v3_RVXnativeV3_getRVXFileInfoV3": 12,
    "Java_quorvel_rvx_v3_RVXnativeV3_getTextV3": 20,
    "Java_quorvel_rvx_v3_RVXnativeV3_getPageTextV3": 24,
    "Java_quorvel_rvx_v3_RVXnativeV3_getProperty": 20,
    "Java_quorvel_rvx_v3_RVXnativeV3_getPwdTextV3": 24,
    "Java_quorvel_rvx_v3_RVXnativeV3_getPwdPageTextV3": 28,
    "Java_quorvel_rvx_v3_RVXnativeV3_getPwdProperty": 24,
    "Java_quorvel_rvx_v4_RVXnativeV4_getRVXFileInfoV4": 12,
    "Java_quorvel_rvx_v4_RVXnativeV4_getTextV4": 20,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPageTextV4": 24,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPropertyV4": 20,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPwdTextV4": 24,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPwdPageTextV4": 28,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPwdPropertyV4": 24,
    "Java_quorvel_rvx_v4_RVXnativeV4_getTextStreamV4": 20,
    "Java_quorvel_rvx_v4_RVXnativeV4_getPageTextStreamV4": 24,
    "Java_quorvel_rvx_v3_RVXTextInfo_initFIDs": 8,
    "Java_quorvel_rvx_v4_RVXTextInfoV4_initFIDs": 8,
    "Java_quorvel_rvx_v4_RVXOleErr_initFIDs": 8,
    "Java_quorvel_rvx_v3_RVXProperty_initFIDs": 8,
    "Java_quorvel_rvx_v4_RVXPropertyV4_initFIDs": 8,
}
ENGINE = "rvx_txif.dll"
ENGINE_ORDINALS = set(range(301, 308)) | set(range(401, 408)) | {420, 421}
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "ntdll.dll", "user32.dll", "advapi32.dll",
               "ucrtbase.dll"}


def expected_exports(bits):
    if bits == 32:
        return {f"_{name}@{size}" for name, size in NATIVE_METHODS.items()}
    return set(NATIVE_METHODS)


def parse(dump):
    """Returns (export names, {dll: [(ordinal, None) or (None, name)]})."""
    exports, imports = [], {}
    section, current = None, None
    for line in dump.splitlines():
        if line.startswith("[Ordinal/Name Pointer] Table"):
            section = "exports"
            continue
        match = re.match(r"\s*DLL Name: (\S+)", line)
        if match:
            section, current = "imports", match.group(1)
            imports.setdefault(current, [])
            continue
        if not line.strip():
            section = None
            continue
        if section == "exports":
            match = re.match(r"\s*\[\s*\d+\]\s+(\S+)$", line)
            if match:
                exports.append(match.group(1))
        elif section == "imports":
            # An ordinal import has its thunk's high bit set and the ordinal
            # in the low 16 bits; objdump names it <none>.
            match = re.match(r"\s*([0-9a-f]+)\s+([0-9a-f]+)\s+(\S+)", line)
            if match:
                name = match.group(3)
                if name == "<none>":
                    imports[current].append((int(match.group(1), 16) & 0xFFFF, None))
                else:
                    imports[current].append((None, name))
    return exports, imports


def check_exports(exports, bits):
    problems = []
    expected = expected_exports(bits)
    missing = sorted(expected - set(exports))
    extra = sorted(set(exports) - expected)
    if missing:
        problems.append("missing exports: " + ", ".join(missing))
    if extra:
        problems.append("unexpected exports: " + ", ".join(extra))
    if len(exports) != len(set(exports)):
        problems.append("duplicate export names")
    return problems


def check_engine_imports(imports):
    entries = [entry for dll, found in imports.items() if dll.lower() == ENGINE for entry in found]
    if not entries:
        return [f"nothing is imported from {ENGINE}"]
    problems = [f"{ENGINE} import by name: {name}" for _, name in entries if name is not None]
    ordinals = {ordinal for ordinal, _ in entries if ordinal is not None}
    if ordinals != ENGINE_ORDINALS:
        problems.append(f"engine ordinals {sorted(ordinals)}, expected {sorted(ENGINE_ORDINALS)}")
    return problems


def check_dependencies(imports):
    allowed = SYSTEM_DLLS | {ENGINE}
    return [f"depends on {dll}" for dll in imports if dll.lower() not in allowed]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--bits", type=int, choices=(32, 64), required=True)
    parser.add_argument("--report", required=True)
    args = parser.parse_args()

    dump = subprocess.run([args.objdump, "-p", args.dll], check=True, capture_output=True,
                          text=True).stdout
    exports, imports = parse(dump)
    checks = {
        "exports are exactly the JNI names": check_exports(exports, args.bits),
        "engine imported by ordinal only": check_engine_imports(imports),
        "only system DLLs and the engine": check_dependencies(imports),
    }

    suite = ET.Element("testsuite", name="rvxjava_dll_tables", tests=str(len(checks)),
                       failures=str(sum(1 for p in checks.values() if p)))
    for name, problems in checks.items():
        case = ET.SubElement(suite, "testcase", classname="rvxjava_dll_tables", name=name)
        if problems:
            ET.SubElement(case, "failure", message="; ".join(problems))
        print(("FAIL " if problems else "ok   ") + name)
        for problem in problems:
            print("     " + problem)
    ET.ElementTree(suite).write(args.report, encoding="utf-8", xml_declaration=True)
    return 1 if any(checks.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
