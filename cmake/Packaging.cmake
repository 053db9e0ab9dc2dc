# Packages: a .deb on Linux (CPack DEB), a zip of the one program file on Windows. The Windows
# installers are made by scripts/build-windows.sh with NSIS.

set(CPACK_PACKAGE_NAME "tarnwick")
set(CPACK_PACKAGE_VENDOR "塔恩威克钢材有限公司")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Weight of steel plate, round bar and pipe, with a small calculator")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <dev@tarnwick-steel.example>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tarnwick")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION "math")
    # Qt's libraries, found from what the program links, plus a font for the captions and Qt's
    # own Chinese translations (a field's context menu).
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "qt6-qpa-plugins, qt6-translations-l10n, fonts-arphic-uming | fonts-noto-cjk")
endif()

include(CPack)
