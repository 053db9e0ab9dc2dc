# The window for 64-bit Windows: the MinGW-w64 toolchain plus the static Qt for Windows that
# scripts/build-windows-qt.sh builds. Use:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-qt.cmake -DTARNWICK_QT_PREFIX=<its prefix>
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

if(NOT TARNWICK_QT_PREFIX AND DEFINED ENV{TARNWICK_QT_PREFIX})
    set(TARNWICK_QT_PREFIX $ENV{TARNWICK_QT_PREFIX})
endif()
if(NOT TARNWICK_QT_PREFIX)
    message(FATAL_ERROR "TARNWICK_QT_PREFIX: the prefix of the static Qt for Windows")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${TARNWICK_QT_PREFIX})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARNWICK_QT_PREFIX)

# The build tools (moc, rcc, uic) are Debian's own Qt of the same release.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
