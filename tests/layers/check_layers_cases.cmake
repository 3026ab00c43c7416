# Runs check_layers.cmake over small trees of its own and checks what it lets through and what it stops.
#   cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P check_layers_cases.cmake
# Each case: a name, the files of the tree as comma-separated path=include pairs (an empty include for
# none), and the text the check must print, or "ok" when it must pass.
cmake_minimum_required(VERSION 3.25)

set(cases
    "clean|base/a.h=,model/b.h=a.h|ok"
    "climbs by a relative path|programme/p.h=,model/b.h=../programme/p.h|src/model/b.h: includes \"../programme/p.h\" by a path"
    "names a folder|programme/p.h=,ui/c.cpp=programme/p.h|src/ui/c.cpp: includes \"programme/p.h\" by a path"
    "outside every layer|base/a.h=,shell/d.cpp=a.h|src/shell/d.cpp: is in no layer's folder"
    "at the root of src|e.cpp=|src/e.cpp: is in no layer's folder")

set(failures "")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 name)
    list(GET parts 1 files)
    list(GET parts 2 expected)
    set(tree ${WORK}/tree)
    file(REMOVE_RECURSE ${tree})
    string(REPLACE "," ";" entries "${files}")
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE "=.*$" "" path "${entry}")
        string(REGEX REPLACE "^[^=]*=" "" included "${entry}")
        if(included STREQUAL "")
            file(WRITE ${tree}/${path} "int x;\n")
        else()
            file(WRITE ${tree}/${path} "#include \"${included}\"\n")
        endif()
    endforeach()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} "-DLAYERS=base;model;ui;screens;programme;app"
            -DSTAMP=${WORK}/stamp -P ${CHECK}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(expected STREQUAL "ok")
        if(NOT status EQUAL 0)
            string(APPEND failures "${name}: stopped a clean tree:\n${out}\n")
        endif()
    else()
        string(FIND "${out}" "${expected}" at)
        if(status EQUAL 0 OR at EQUAL -1)
            string(APPEND failures "${name}: expected a stop saying '${expected}', got status ${status}:\n${out}\n")
        endif()
    endif()
endforeach()

if(NOT failures STREQUAL "")
    message(FATAL_ERROR "${failures}")
endif()
message(STATUS "check_layers: every case as expected")
