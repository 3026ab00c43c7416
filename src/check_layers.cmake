# Stops the build on an include that reaches a layer the including file may not use.
#   cmake -DSOURCE_DIR=<src> -DLAYERS=<layers.cmake> -DSTAMP=<file touched on success> -P check_layers.cmake
# LAYERS sets `layers` (their names) and, for each, layer_<name> (its files, relative to SOURCE_DIR) and
# layer_<name>_uses (the layers its files may include besides their own). Every file under SOURCE_DIR
# must belong to one layer. A quoted include is looked for beside the including file, then from
# SOURCE_DIR, as the compiler does; includes that are not the program's own (Qt's, the library's) are
# not this check's affair.
cmake_minimum_required(VERSION 3.25)
include(${LAYERS})

foreach(layer IN LISTS layers)
    foreach(file IN LISTS layer_${layer})
        set(layer_of_${file} ${layer})
    endforeach()
endforeach()

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(file IN LISTS sources)
    if(NOT DEFINED layer_of_${file})
        string(APPEND faults "src/${file}: belongs to no layer; add it to one in src/CMakeLists.txt\n")
    endif()
endforeach()

foreach(layer IN LISTS layers)
    set(allowed ${layer} ${layer_${layer}_uses})
    foreach(file IN LISTS layer_${layer})
        get_filename_component(dir ${file} DIRECTORY)
        file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" included "${line}")
            if(EXISTS ${SOURCE_DIR}/${dir}/${included} AND NOT IS_DIRECTORY ${SOURCE_DIR}/${dir}/${included})
                set(target ${dir}/${included})
            elseif(EXISTS ${SOURCE_DIR}/${included} AND NOT IS_DIRECTORY ${SOURCE_DIR}/${included})
                set(target ${included})
            else()
                continue()
            endif()
            cmake_path(NORMAL_PATH target)
            set(target_layer "${layer_of_${target}}")
            if(target_layer STREQUAL "")
                continue() # reported above as belonging to no layer
            endif()
            if(NOT target_layer IN_LIST allowed)
                list(JOIN layer_${layer}_uses ", " below)
                if(below STREQUAL "")
                    set(below "nothing else")
                endif()
                string(APPEND faults "src/${file}: includes \"${included}\", of the ${target_layer} layer; "
                    "the ${layer} layer may include only its own files and: ${below}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(NOT faults STREQUAL "")
    file(REMOVE ${STAMP})
    message(FATAL_ERROR "Layers broken (see src/CMakeLists.txt and docs/architecture.md):\n${faults}")
endif()
file(TOUCH ${STAMP})
