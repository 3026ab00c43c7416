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
