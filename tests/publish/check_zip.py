"""Reads a zip archive with Python's zipfile and compares it with the folder it was made from.

usage: check_zip.py ARCHIVE FOLDER [PASSWORD]

Entries are flat, so each entry is matched with the file or folder of the same name anywhere under
FOLDER (names must be unique there). Every file and folder must appear once, files with equal bytes.
"""
import os
import sys
import zipfile


def main():
    archive, folder = sys.argv[1], sys.argv[2]
    password = sys.argv[3].encode() if len(sys.argv) > 3 else None
    sources = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            if name in sources:
                sys.exit(f"duplicate name in the source folder: {name}")
            sources[name] = os.path.join(root, name)
    problems = []
    seen = set()
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            seen.add(info.filename)
            path = sources.get(info.filename)
            if path is None:
                problems.append(f"unexpected entry {info.filename!r}")
                continue
            data = z.read(info, pwd=password)  # checks the CRC
            is_folder = info.external_attr & 0x10
            if os.path.isdir(path):
                if not is_folder or data:
                    problems.append(f"folder entry {info.filename!r} is wrong")
            else:
                with open(path, "rb") as f:
                    if f.read() != data:
                        problems.append(f"bytes of {info.filename!r} differ")
    missing = set(sources) - seen
    if missing:
        problems.append(f"missing entries {sorted(missing)!r}")
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(seen)} entries match")


main()
