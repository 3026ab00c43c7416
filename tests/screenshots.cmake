# Plays the screenshot tool's seeded game and compares each picture with the one kept in docs/screenshots:
# what the player sees has not moved by a pixel. After a deliberate change to the drawing, write them
# anew with `cmake --build build --target screenshots`.
#
#   cmake -DTOOL=kovrant-screenshots -DEXPECTED=docs/screenshots -DOUT=dir -P screenshots.cmake
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the screenshot tool failed")
endif()
file(GLOB expected ${EXPECTED}/*.png ${EXPECTED}/pave/*.png)
foreach(picture IN LISTS expected)
    file(RELATIVE_PATH name ${EXPECTED} ${picture})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${picture} ${OUT}/${name} RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(SEND_ERROR "${name} is not the picture in docs/screenshots; the new one is in ${OUT}")
    endif()
endforeach()
