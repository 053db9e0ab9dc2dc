# Packages: a .deb here (CPack DEB), a zip or NSIS installer on Windows (after windeployqt).

set(CPACK_PACKAGE_NAME "tarnwick")
set(CPACK_PACKAGE_VENDOR "塔恩威克钢材有限公司")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Weight of steel plate, round bar and pipe, with a small calculator")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <dev@tarnwick-steel.example>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tarnwick")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin/Tarnwick.exe")
    set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/app/resources/tarnwick.ico")
    set(CPACK_PACKAGE_EXECUTABLES "Tarnwick" "Tarnwick")
    # Qt's own libraries and plugins go beside the program.
    find_program(TARNWICK_WINDEPLOYQT windeployqt HINTS "${QT6_INSTALL_PREFIX}/bin")
    if(TARNWICK_WINDEPLOYQT)
        install(CODE "execute_process(COMMAND \"${TARNWICK_WINDEPLOYQT}\" --no-translations
            --no-system-d3d-compiler --no-opengl-sw --dir \"\${CMAKE_INSTALL_PREFIX}/bin\"
            \"\${CMAKE_INSTALL_PREFIX}/bin/Tarnwick.exe\")")
    endif()
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION "math")
    # Qt's libraries, found from what the program links, plus a font for the captions.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-arphic-uming | fonts-noto-cjk")
endif()

include(CPack)
