# Cross-builds for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686-posix) and runs
# what it builds under Wine's 32-bit side (Debian's wine32:i386; without it the programs build,
# but their tests cannot run). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
# Double arithmetic in SSE2 registers, each operation rounded once to double as the rules demand.
# The x87 unit (GCC's default for i686) keeps intermediate results in 80 bits, which MinGW-w64's
# start-up sets to full extended precision: a result rounded there and again to double can land
# on the other neighbour (a plate weight one hundredth off). Every PC that runs Windows 7 has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# Debian: /usr/bin/wine, which starts the 32-bit loader where it is installed.
set(TARNWICK_WINE_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
