"""Makes the window's embedded Song face: a subset of AR PL UMing CN (Debian's fonts-arphic-uming)
holding only the characters the program can show, renamed "Tarnwick Song".

    scripts/song-subset.py SOURCE.ttc OUTPUT.ttf

The characters are read from the program's own sources: every character of every string
literal in app/, panels/ and calculator/ (the control table's captions, the result and error
texts, the pin caption), plus printable ASCII (digits, signs and letters a user types) and the
characters FreeType's auto-hinter measures a face by. The last matter because the hinter
derives its blue zones and stem widths from those characters when they are present: without
them, the subset's outlines would be hinted differently from the full face's.
Run through scripts/make-song-subset.sh, which installs fonttools and the source font.
"""

import datetime
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE_FOLDERS = ("app", "panels", "calculator")
FAMILY = "Tarnwick Song"

# FreeType 2.12's auto-hinter (src/autofit/afscript.h, afblue.dat): the standard characters of
# the Latin and CJK scripts, and the CJK top and bottom blue strings. (The Latin blue strings
# are all within printable ASCII.)
HINTER_CHARACTERS = (
    "oO0田囗"
    "他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾"
    "个为人他以们你來個們到和大对對就我时時有来為要說说主些因它想意理生當看着置者自著裡过还进進過道還里面"
)


def string_literals(text):
    """Yields the contents of the C++ string literals in the text, comments skipped."""
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif c == "'":  # a character literal
            j = i + 1
            while j < n and text[j] != "'":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        elif c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            yield text[i + 1 : j]
            i = j + 1
        else:
            i += 1


def characters():
    wanted = {chr(code) for code in range(0x20, 0x7F)}
    wanted.update(HINTER_CHARACTERS)
    for folder in SOURCE_FOLDERS:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                for literal in string_literals(path.read_text(encoding="utf-8")):
                    wanted.update(literal)
    return sorted(c for c in wanted if c.isprintable())


def main():
    source, output = sys.argv[1], sys.argv[2]
    wanted = characters()
    options = subset.Options()
    options.font_number = 0  # AR PL UMing CN in uming.ttc
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.prune_unicode_ranges = False
    # The embedded bitmaps are what the captions show at 11 to 16 pixels: keep them.
    options.drop_tables = [t for t in options.drop_tables if t not in ("EBDT", "EBLC", "EBSC")]
    # The outlines' stored bounding boxes stay as they are: FreeType places an outline by its
    # stored xMin against the left side bearing, and the source's boxes are not all tight.
    font = TTFont(source, fontNumber=0, lazy=False, recalcBBoxes=False, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in wanted])
    subsetter.subset(font)

    original = font["name"].getDebugName(4)
    today = datetime.datetime.now(datetime.timezone.utc).date().isoformat()
    notice = (
        f"Modified {today} by Tarnwick's scripts/song-subset.py from {original} "
        f"(version {font['name'].getDebugName(5)}): only the {len(wanted)} characters the "
        f'program shows are kept, and the family is renamed "{FAMILY}". '
        "Distributed under the Arphic Public License (ARPHICPL.TXT)."
    )
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 3, 4, 6, 16, 17, 18, 21, 22):
            names.removeNames(nameID=record.nameID)
    names.setName(FAMILY, 1, 3, 1, 0x409)
    names.setName("Regular", 2, 3, 1, 0x409)
    names.setName(f"{FAMILY} {today}", 3, 3, 1, 0x409)
    names.setName(FAMILY, 4, 3, 1, 0x409)
    names.setName(FAMILY.replace(" ", ""), 6, 3, 1, 0x409)
    names.setName(notice, 10, 3, 1, 0x409)
    font.save(output)
    print(f"{output}: {len(wanted)} characters, {font['maxp'].numGlyphs} glyphs")


if __name__ == "__main__":
    main()
