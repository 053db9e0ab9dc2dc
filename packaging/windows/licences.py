#!/usr/bin/python3
"""Gathers the licence texts that travel with Tarnwick.exe from Qt's source tarball.

Qt's own licences (LICENSES/) and, for each folder of Qt's source named on the command line, its
qt_attribution.json with the licence files it names: the third-party code linked into the
program. Reads the tarball in one pass.
    licences.py TARBALL OUT_DIR FOLDER...      (FOLDER relative to the source's src/)
"""
import json
import pathlib
import posixpath
import sys
import tarfile


def main():
    tarball, out, folders = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3:]
    wanted = {f.strip("/") for f in folders}
    qt_licences = {}
    files = {}  # (folder, name) -> bytes: the attributions and licence texts in src/
    with tarfile.open(tarball, "r|xz") as archive:
        for member in archive:
            if not member.isfile():
                continue
            parts = member.name.split("/", 1)
            if len(parts) < 2:
                continue
            path = parts[1]
            if path.startswith("LICENSES/") and "Commercial" not in path:
                qt_licences[path.split("/", 1)[1]] = archive.extractfile(member).read()
                continue
            if not path.startswith("src/") or member.size > 200_000:
                continue
            folder, _, name = path[len("src/"):].rpartition("/")
            if folder in wanted or any(k in name.upper() for k in ("LICEN", "COPYING")):
                files[(folder, name)] = archive.extractfile(member).read()

    for name, text in qt_licences.items():
        target = out / "Qt" / name
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(text)
    missing = sorted(wanted - {folder for folder, name in files if name == "qt_attribution.json"})
    if missing:
        sys.exit("no qt_attribution.json in: " + ", ".join(missing))
    for folder in sorted(wanted):
        entries = json.loads(files[(folder, "qt_attribution.json")], strict=False)
        if isinstance(entries, dict):
            entries = [entries]
        target = out / "third-party" / folder
        target.mkdir(parents=True, exist_ok=True)
        (target / "qt_attribution.json").write_bytes(files[(folder, "qt_attribution.json")])
        for entry in entries:
            names = entry.get("LicenseFiles") or [entry.get("LicenseFile", "")]
            for name in filter(None, names):
                # A name may lead out of the folder (../../3rdparty/freetype/LICENSE.txt).
                resolved = posixpath.normpath(posixpath.join(folder, name))
                key = (posixpath.dirname(resolved), posixpath.basename(resolved))
                if key not in files:
                    sys.exit(f"{folder}: licence file {name} not in the tarball")
                (target / key[1]).write_bytes(files[key])


if __name__ == "__main__":
    main()
