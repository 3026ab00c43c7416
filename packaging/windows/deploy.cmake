# Run by `cmake --install` on the Windows build: lays down beside kovrant.exe what it needs, as windeployqt
# would (a cross build has none): the Qt plugins it loads at run time, then every DLL that the program
# and those plugins import, found in Qt's and MinGW's folders, until the set is closed. A DLL found in
# none of them is Windows' own.
#
# Set by the install rule: KOVRANT_QT_PREFIX, KOVRANT_QT_PLUGINS (paths under Qt's plugins folder),
# KOVRANT_DLL_DIRS (where to look for DLLs), KOVRANT_OBJDUMP and KOVRANT_STRIP.
cmake_policy(VERSION 3.25)
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

function(kovrant_lay file destination)
    get_filename_component(name ${file} NAME)
    file(INSTALL ${file} DESTINATION ${destination})
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND ${KOVRANT_STRIP} --strip-unneeded ${destination}/${name} COMMAND_ERROR_IS_FATAL ANY)
    endif()
endfunction()

set(pending ${root}/kovrant.exe)
foreach(plugin IN LISTS KOVRANT_QT_PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    kovrant_lay(${KOVRANT_QT_PREFIX}/plugins/${plugin} ${root}/${folder})
    list(APPEND pending ${root}/${plugin})
endforeach()

set(laid)
while(pending)
    list(POP_FRONT pending file)
    execute_process(COMMAND ${KOVRANT_OBJDUMP} -p ${file} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${import}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" key)
        if(key IN_LIST laid)
            continue()
        endif()
        list(APPEND laid ${key})
        foreach(dir IN LISTS KOVRANT_DLL_DIRS)
            if(EXISTS ${dir}/${dll})
                kovrant_lay(${dir}/${dll} ${root})
                list(APPEND pending ${root}/${dll})
                break()
            endif()
        endforeach()
    endforeach()
endwhile()
