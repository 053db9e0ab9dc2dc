# Cross-builds for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686-posix) and runs
# what it builds under Wine's 32-bit side (Debian's wine32:i386; without it the programs build,
# but their tests cannot run). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
# Debian: /usr/bin/wine, which starts the 32-bit loader where it is installed.
set(TARNWICK_WINE_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
