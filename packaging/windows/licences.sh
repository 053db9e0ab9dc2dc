#!/usr/bin/env bash
# Gathers the licence texts that travel with Tarnwick.exe and Tarnwick-x86.exe: those of what
# MinGW-w64 links into them statically (libstdc++ and libgcc, the MinGW-w64 runtime and
# winpthreads), as Debian's installed packages of the compilers state them. CRLF line ends, for
# the Notepad of Windows 7.
#   packaging/windows/licences.sh OUT_DIR
set -euo pipefail

out=${1:?usage: $0 OUT_DIR}
rm -rf "$out"
mkdir -p "$out"
version() { dpkg-query -W -f='${Version}' "$1"; }
crlf() { sed 's/\r*$/\r/' "$1" >"$out/$2"; }

crlf /usr/share/doc/gcc-mingw-w64-base/copyright gcc.txt
crlf /usr/share/common-licenses/GPL-3 GPL-3.txt
crlf /usr/share/doc/mingw-w64-common/copyright mingw-w64.txt
crlf /dev/stdin README.txt <<TEXT
Tarnwick.exe (64-bit Windows) and Tarnwick-x86.exe (32-bit Windows) are each one program file,
built with Debian's MinGW-w64 cross-compilers. Linked into each, and covered by these files:

gcc.txt        GCC's C++ library (libstdc++) and its support library (libgcc): the GNU General
               Public License version 3 with the GCC Runtime Library Exception 3.1, whose text
               is in this file. The copyright file of Debian's gcc-mingw-w64 packages
               ($(version gcc-mingw-w64-base)).
GPL-3.txt      The GNU General Public License version 3, to which that exception is added.
mingw-w64.txt  The MinGW-w64 runtime (start-up code, C library additions) and winpthreads (the
               threads library): the Zope Public License 2.1, the MIT licence and the others it
               names file by file. The copyright file of Debian's mingw-w64 packages
               ($(version mingw-w64-common)).

The sources are Debian's source packages gcc-mingw-w64 and mingw-w64 of those versions.
TEXT
