# Cross-builds for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix) and
# runs what it builds under Wine. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# Debian: /usr/bin/wine, which starts the loader that fits the program (elsewhere: wine64).
set(TARNWICK_WINE_NAMES wine64 wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
