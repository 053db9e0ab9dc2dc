# Cross-builds for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix) and
# runs what it builds under Wine. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# The 64-bit loader itself (Debian: /usr/lib/wine/wine64; /usr/bin/wine hands every program to
# the 32-bit loader once wine32:i386 is installed, which runs only where 32-bit code runs).
set(TARNWICK_WINE_NAMES wine64 wine)
set(TARNWICK_WINE_PATHS /usr/lib/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
