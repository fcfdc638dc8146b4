#!/usr/bin/python3
"""Reads what Windows shows of a built program from the file itself: its
version record, manifest and icon. Fails when one is missing or wrong.

    check_exe.py PROGRAM.exe
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

EXPECTED = {
    "FileVersion": "1.00.0001",
    "ProductVersion": "1.00.0001",
    "ProductName": "Zelvora",
    "CompanyName": "Pinarejo",
    "OriginalFilename": "zelvora.exe",
}
ASM = "{urn:schemas-microsoft-com:asm.v1}"


def resources(pe, kind):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == kind:
            for name in entry.directory.entries:
                for language in name.directory.entries:
                    data = language.data.struct
                    yield pe.get_data(data.OffsetToData, data.Size)


def main(path):
    pe = pefile.PE(path)
    failures = []
    machine = pefile.MACHINE_TYPE.get(pe.FILE_HEADER.Machine, hex(pe.FILE_HEADER.Machine))
    print(f"machine: {machine}")

    fixed = pe.VS_FIXEDFILEINFO[0]
    version = "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
    print(f"file version (numbers): {version}")
    if version != "1.0.0.1":
        failures.append(f"the version numbers are {version}, not 1.0.0.1")
    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key, value in EXPECTED.items():
        print(f"{key}: {strings.get(key)!r}")
        if strings.get(key) != value:
            failures.append(f"{key} is {strings.get(key)!r}, not {value!r}")

    manifests = list(resources(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"]))
    if len(manifests) != 1:
        failures.append(f"{len(manifests)} manifests, not 1")
    for manifest in manifests:
        root = ElementTree.fromstring(manifest)
        identity = root.find(f"{ASM}assemblyIdentity")
        print(f"manifest identity: {identity.get('name')} {identity.get('version')} "
              f"processorArchitecture={identity.get('processorArchitecture')}")
        for dependency in root.iter(f"{ASM}dependentAssembly"):
            wanted = dependency.find(f"{ASM}assemblyIdentity")
            print(f"manifest asks for: {wanted.get('name')} {wanted.get('version')} "
                  f"processorArchitecture={wanted.get('processorArchitecture')}")
            if wanted.get("name") == "Microsoft.Windows.Common-Controls" and \
                    wanted.get("version") != "6.0.0.0":
                failures.append("the manifest does not ask for common controls 6.0.0.0")
            if wanted.get("processorArchitecture") not in ("*", "amd64"):
                failures.append("a 64-bit program's manifest names processorArchitecture="
                                f"{wanted.get('processorArchitecture')}")

    icons = list(resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"]))
    images = list(resources(pe, pefile.RESOURCE_TYPE["RT_ICON"]))
    print(f"icon: {len(icons)} icon group(s), {len(images)} image(s)")
    if not icons or not images:
        failures.append("no icon")
    for group in icons:
        count = struct.unpack_from("<H", group, 4)[0]
        sides = sorted((struct.unpack_from("<B", group, 6 + 14 * i)[0] or 256)
                       for i in range(count))
        print(f"icon sizes: {', '.join(map(str, sides))}")
        missing = [side for side in (16, 24, 32, 48, 256) if side not in sides]
        if missing:
            failures.append(f"the icon has no {', '.join(map(str, missing))} px image, "
                            "so Windows scales another one")

    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
