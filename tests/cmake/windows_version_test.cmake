# The Windows version derived from the project's version: cmake -P this file checks the rows;
# with -DVERSION=... it derives that one version (or fails) and prints it.
cmake_minimum_required(VERSION 3.21)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/WindowsVersion.cmake)

if(DEFINED VERSION)
    tarnwick_windows_version("${VERSION}" derived)
    message(STATUS "${VERSION} -> ${derived}")
    return()
endif()

set(rows
    "1.1=1.1.0.0"
    "1.0.0.0=1.0.0.0"
    "2=2.0.0.0"
    "1.2.3=1.2.3.0"
    "65535.0.0.65535=65535.0.0.65535"
)
foreach(row IN LISTS rows)
    string(REPLACE "=" ";" row "${row}")
    list(GET row 0 version)
    list(GET row 1 expected)
    tarnwick_windows_version("${version}" derived)
    if(NOT derived STREQUAL expected)
        message(FATAL_ERROR "${version} gave ${derived}, expected ${expected}")
    endif()
endforeach()
