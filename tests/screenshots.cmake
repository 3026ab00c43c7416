# Plays the screenshot tool's seeded games and compares each picture with the one kept in docs/screenshots
# and its temps/ folder, pixel by pixel: what the player sees has not moved by a pixel, however a PNG
# library packs it. After a deliberate change to the drawing, write them anew with
# `cmake --build build --target screenshots`.
#
#   cmake -DTOOL=kovrant-screenshots -DEXPECTED=docs/screenshots -DOUT=dir -P screenshots.cmake
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the screenshot tool failed")
endif()
execute_process(COMMAND ${TOOL} --compare ${EXPECTED} ${OUT} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "the pictures differ from those in docs/screenshots")
endif()
