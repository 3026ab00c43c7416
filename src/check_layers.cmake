# Stops the build on what the layers' include paths cannot refuse by themselves.
#   cmake -DSOURCE_DIR=<src> -DLAYERS=<base;model;...> -DSTAMP=<file touched on success> -P check_layers.cmake
#
# Each layer's include path holds only its own folder and those of the layers it links, so an include
# of a higher layer's header by its name is not even found. Two ways round that remain, and this check
# closes them:
# - a source file of src/ outside the layer folders, which no layer's rule would cover;
# - a quoted include that names a path ("../programme/programme.h", "/abs/path.h"): the compiler finds
#   it beside the including file whatever the layers say. A layer's files include by bare name.
cmake_minimum_required(VERSION 3.25)

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(file IN LISTS sources)
    get_filename_component(folder ${file} DIRECTORY)
    if(NOT folder IN_LIST LAYERS)
        string(APPEND faults "src/${file}: is in no layer's folder; move it into one of: ${LAYERS}\n")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
        if(included MATCHES "[/\\\\]")
            string(APPEND faults "src/${file}: includes \"${included}\" by a path; a file of the ${folder} "
                "layer includes headers by their bare name, and finds only its own layer's and those below\n")
        endif()
    endforeach()
endforeach()

if(NOT faults STREQUAL "")
    file(REMOVE ${STAMP})
    message(FATAL_ERROR "Layers broken (see src/CMakeLists.txt and docs/architecture.md):\n${faults}")
endif()
file(TOUCH ${STAMP})
