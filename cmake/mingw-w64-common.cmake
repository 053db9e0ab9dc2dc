# What the MinGW-w64 toolchain files share: cross-builds for Windows with Debian's posix-threads
# MinGW-w64 compilers, run under Wine. The including file sets CMAKE_SYSTEM_PROCESSOR (x86_64 or
# i686, the first part of the compilers' names) and TARNWICK_WINE_NAMES (the Wine that runs what
# it builds).
set(CMAKE_SYSTEM_NAME Windows)

# The posix-threads compilers: GCC 12's win32-threads ones have no std::thread or std::mutex.
set(TARNWICK_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNWICK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWICK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNWICK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNWICK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static programs: no libstdc++, libgcc or winpthread DLL to find at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests run the .exe files through Wine, a start that failed before the program printed
# anything tried once more (wine-run.sh).
find_program(TARNWICK_WINE NAMES ${TARNWICK_WINE_NAMES} PATHS ${TARNWICK_WINE_PATHS})
if(TARNWICK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${TARNWICK_WINE})
endif()
