# A cross-built Windows program finds its DLLs and Qt plugins only beside itself: the Qt and MinGW
# DLLs and the plugin folders are copied beside the program and beside the test programs, so that
# both run under Wine as they are (ctest, or wine64 build-windows/tarnwell.exe).
get_target_property(tarnwell_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(TARNWELL_QT_BIN ${tarnwell_qtcore_dll} DIRECTORY)
get_filename_component(TARNWELL_QT_PLUGINS ${TARNWELL_QT_BIN}/../plugins ABSOLUTE)
set(TARNWELL_QT_PLUGIN_FOLDERS platforms imageformats iconengines styles)
file(GLOB tarnwell_runtime_dlls ${TARNWELL_QT_BIN}/*.dll)

set(commands)
foreach(folder ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/tests)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tarnwell_runtime_dlls} ${folder})
    foreach(plugins ${TARNWELL_QT_PLUGIN_FOLDERS})
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${TARNWELL_QT_PLUGINS}/${plugins}
            ${folder}/${plugins})
    endforeach()
endforeach()
add_custom_target(windows_runtime ALL ${commands} VERBATIM)

# The portable zip: build-windows/Tarnwell-<version>-win64.zip (make windows-package).
add_custom_target(windows_package
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/windows-package.sh ${CMAKE_BINARY_DIR} ${TARNWELL_QT_BIN}
        ${TARNWELL_VERSION_TEXT} ${PROJECT_SOURCE_DIR}
    DEPENDS tarnwell VERBATIM)
