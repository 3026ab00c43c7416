# The test programs of the Windows build run under Wine (cmake/wine-run.sh, the build's emulator),
# in a Wine prefix made for the run and removed after it; the program is also installed, started and
# played on an X server. All of them are labelled `windows`. Included at the end of tests/CMakeLists.txt.
if(NOT WIN32 OR NOT CMAKE_CROSSCOMPILING)
    return()
endif()

set(kovrant_wine_run ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh)
add_test(NAME windows_wine_begin COMMAND ${kovrant_wine_run} --begin)
add_test(NAME windows_wine_end COMMAND ${kovrant_wine_run} --end)
set_tests_properties(windows_wine_begin PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${KOVRANT_WINE_ENV}")
set_tests_properties(windows_wine_end PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${KOVRANT_WINE_ENV}")

add_test(NAME windows_install_play
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/session.sh --wm --
        /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/desktop/windows_install_play.py
        ${KOVRANT_WINDOWS_SETUP} ${KOVRANT_WINDOWS_STAGE})
set_tests_properties(windows_install_play PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# The announcements as UI Automation hands them on: a stand-in for the system's UIAutomationCore.dll that
# records them (Wine's own lacks the notification event), and a client that asks a window for its provider,
# as a screen reader does first. Both stand apart from the program's folder, where nothing may find them.
set(kovrant_uia_dir ${CMAKE_BINARY_DIR}/uia-standin)
add_library(uiautomationcore_standin SHARED ${PROJECT_SOURCE_DIR}/tests/windows/uiautomationcore_standin.cpp)
set_target_properties(uiautomationcore_standin PROPERTIES OUTPUT_NAME uiautomationcore PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${kovrant_uia_dir})
# Whole in itself: it is loaded from the system's folder, far from the MinGW runtime.
target_link_options(uiautomationcore_standin PRIVATE -static)
target_link_libraries(uiautomationcore_standin PRIVATE kovrant_warnings oleaut32)
add_executable(uia_client ${PROJECT_SOURCE_DIR}/tests/windows/uia_client.cpp)
set_target_properties(uia_client PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${kovrant_uia_dir})
target_compile_options(uia_client PRIVATE -municode)
target_link_options(uia_client PRIVATE -municode -static)
target_link_libraries(uia_client PRIVATE kovrant_warnings)
add_test(NAME windows_uia_announcements
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/session.sh --wm --
        /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/desktop/windows_uia_play.py
        ${KOVRANT_WINDOWS_STAGE} $<TARGET_FILE:uiautomationcore_standin> $<TARGET_FILE:uia_client>)
set_tests_properties(windows_uia_announcements PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# The help and a mistaken option at the console of cmd, which a windowed program lacks by itself.
add_test(NAME windows_console COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/desktop/windows_console.py
    ${KOVRANT_WINDOWS_STAGE}/kovrant.exe)
set_tests_properties(windows_console PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${KOVRANT_WINE_ENV}"
    TIMEOUT 300 SKIP_RETURN_CODE 77)

get_property(kovrant_tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS kovrant_tests)
    if(test MATCHES "^tst_")
        get_test_property(${test} ENVIRONMENT environment)
        if(NOT environment)
            set(environment)
        endif()
        list(APPEND environment ${KOVRANT_WINE_ENV})
        set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${environment}"
            LABELS windows)
    elseif(test MATCHES "^windows_")
        set_tests_properties(${test} PROPERTIES LABELS windows)
    else()
        # The desktop tests drive the Linux program on Linux display servers.
        set_tests_properties(${test} PROPERTIES DISABLED TRUE)
    endif()
endforeach()
