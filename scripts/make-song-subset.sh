#!/usr/bin/env bash
# Remakes app/resources/fonts/tarnwick-song.ttf, the Song face the window embeds on Linux, from
# Debian's fonts-arphic-uming (AR PL UMing CN), and copies the font's licence beside it. Run it
# after changing any text the window can show; scripts/song-subset.py says what it keeps.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh" fonts

source_font=/usr/share/fonts/truetype/arphic/uming.ttc
licence=/usr/share/doc/fonts-arphic-uming/license/english/ARPHICPL.TXT.gz
out="$root/app/resources/fonts"
mkdir -p "$out"

python=python3
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import fontTools' 2>/dev/null; then
        python=$candidate
        break
    fi
done
"$python" "$root/scripts/song-subset.py" "$source_font" "$out/tarnwick-song.ttf"
if [[ -f $licence ]]; then
    gzip -dc "$licence" >"$out/ARPHICPL.TXT"
else
    echo "No $licence (documentation not installed?): keeping $out/ARPHICPL.TXT" >&2
fi
