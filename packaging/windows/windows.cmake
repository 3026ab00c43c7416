# The Windows build. Always: the program's icon, version information and manifest. Cross-built on Linux
# with cmake/mingw-w64-x86_64.cmake, also: the folder the installer lays down, with Qt and the MinGW
# runtime beside the program; the NSIS installer and a portable zip; the test programs run under Wine
# (tests.cmake). Included by the top-level CMakeLists.txt before the program's targets are made.
if(NOT WIN32)
    return()
endif()
set(kovrant_windows_dir ${CMAKE_CURRENT_LIST_DIR})

# Everything goes in one folder, the program beside its DLLs.
set(CMAKE_INSTALL_BINDIR .)
# The benchmarks read the memory through POSIX calls; their figures are for Linux anyway.
set(KOVRANT_BUILD_BENCH OFF)
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh)
endif()

enable_language(RC)
set(KOVRANT_ICON ${kovrant_windows_dir}/kovrant.ico)
set(KOVRANT_FILE_VERSION ${PROJECT_VERSION}.0)
string(REPLACE "." "," KOVRANT_RC_VERSION ${KOVRANT_FILE_VERSION})
set(KOVRANT_MANIFEST ${CMAKE_BINARY_DIR}/kovrant.manifest)
configure_file(${kovrant_windows_dir}/kovrant.manifest ${KOVRANT_MANIFEST} @ONLY)
configure_file(${kovrant_windows_dir}/kovrant.rc.in ${CMAKE_BINARY_DIR}/kovrant.rc @ONLY)

# What the program loads at run time: the window system, the native look, the SVG window icon.
set(KOVRANT_QT_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll iconengines/qsvgicon.dll)

function(kovrant_windows_resources)
    target_sources(kovrant PRIVATE ${CMAKE_BINARY_DIR}/kovrant.rc)
    set_property(SOURCE ${CMAKE_BINARY_DIR}/kovrant.rc TARGET_DIRECTORY kovrant APPEND PROPERTY OBJECT_DEPENDS
        ${KOVRANT_ICON} ${KOVRANT_MANIFEST})
    if(MSVC)
        target_link_options(kovrant PRIVATE /MANIFEST:NO) # ours is in the resources
    endif()
endfunction()
cmake_language(DEFER CALL kovrant_windows_resources)
if(NOT CMAKE_CROSSCOMPILING)
    return() # a native build deploys with Qt's windeployqt (../CMakeLists.txt)
endif()

get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin} DIRECTORY)
# The compiler knows where its runtime DLLs are.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
    OUTPUT_VARIABLE winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(gcc_dir ${libstdcxx} DIRECTORY)
get_filename_component(mingw_dir ${winpthread} DIRECTORY)
set(dll_dirs ${qt_bin} ${gcc_dir} ${mingw_dir})

set(KOVRANT_WINE_ENV "KOVRANT_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
    "KOVRANT_WINEPATH=${qt_bin}:${gcc_dir}:${mingw_dir}")
set(KOVRANT_WINDOWS_STAGE ${CMAKE_BINARY_DIR}/windows-stage)
set(kovrant_windows_name kovrant-${PROJECT_VERSION}-windows-x86_64)
set(KOVRANT_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/${kovrant_windows_name}-setup.exe)

function(kovrant_windows_finish)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENCE.txt)
    install(CODE "
        set(KOVRANT_QT_PREFIX [[${qt_prefix}]])
        set(KOVRANT_QT_PLUGINS [[${KOVRANT_QT_PLUGINS}]])
        set(KOVRANT_DLL_DIRS [[${dll_dirs}]])
        set(KOVRANT_OBJDUMP [[${CMAKE_OBJDUMP}]])
        set(KOVRANT_STRIP [[${CMAKE_STRIP}]])")
    install(SCRIPT ${kovrant_windows_dir}/deploy.cmake)

    # The folder as installed, then the installer and the zip made from it.
    set(stage ${KOVRANT_WINDOWS_STAGE})
    set(name ${kovrant_windows_name})
    set(setup ${KOVRANT_WINDOWS_SETUP})
    set(zip ${CMAKE_BINARY_DIR}/${name}.zip)
    find_program(MAKENSIS makensis REQUIRED)
    add_custom_command(OUTPUT ${setup} ${zip}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${CMAKE_BINARY_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --strip
        COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUTPUT=${CMAKE_BINARY_DIR}/windows-uninstall.nsh
            -P ${kovrant_windows_dir}/uninstall-list.cmake
        COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DSTAGE=${stage} -DOUTFILE=${setup}
            -DFILES=${CMAKE_BINARY_DIR}/windows-uninstall.nsh
            -DVERSION=${PROJECT_VERSION} -DFILE_VERSION=${KOVRANT_FILE_VERSION} -DICON=${KOVRANT_ICON}
            -DWELCOME=${kovrant_windows_dir}/welcome.bmp
            ${kovrant_windows_dir}/kovrant.nsi
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${stage} ${CMAKE_BINARY_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${name}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/${name}
        DEPENDS kovrant ${kovrant_windows_dir}/kovrant.nsi ${kovrant_windows_dir}/deploy.cmake
            ${kovrant_windows_dir}/welcome.bmp
            ${kovrant_windows_dir}/uninstall-list.cmake
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        COMMENT "Making the Windows installer and the portable zip"
        VERBATIM)
    add_custom_target(windows_installer ALL DEPENDS ${setup} ${zip})

endfunction()
cmake_language(DEFER CALL kovrant_windows_finish)
