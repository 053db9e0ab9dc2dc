# A static Qt links its plugins into each program. The window needs three: the windows platform,
# the native windowsvista style and the JPEG reader for the banner; nothing else goes in.
function(tarnwick_windows_plugins target)
    if(NOT WIN32)
        return()
    endif()
    get_target_property(qt_core_type Qt6::Core TYPE)
    if(NOT qt_core_type STREQUAL "STATIC_LIBRARY")
        return()
    endif()
    qt_import_plugins(${target}
        INCLUDE_BY_TYPE platforms Qt6::QWindowsIntegrationPlugin
        INCLUDE_BY_TYPE styles Qt6::QWindowsVistaStylePlugin
        INCLUDE_BY_TYPE imageformats Qt6::QJpegPlugin
        EXCLUDE_BY_TYPE generic platforminputcontexts iconengines tls networkinformation)
endfunction()
