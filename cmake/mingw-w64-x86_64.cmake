# Cross-compiling for Windows x86-64 with Debian's MinGW-w64 (the posix-threads flavour, which Qt needs).
# Used for Qt itself (scripts/build-qt-windows.sh copies it beside the Qt it builds) and for the game:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH=<Qt for Windows> ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOVRANT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOVRANT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVRANT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KOVRANT_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOVRANT_MINGW_TRIPLET})
# Programs (moc, rcc, the compilers) come from the build machine; everything linked comes from the target.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Qt for Windows given by CMAKE_PREFIX_PATH lies outside the MinGW root; searching it as a root too
# lets find_package(Qt6) reach it. Its moc, rcc and uic are the build machine's, from Debian's Qt.
foreach(kovrant_prefix IN LISTS CMAKE_PREFIX_PATH)
    list(APPEND CMAKE_FIND_ROOT_PATH ${kovrant_prefix})
endforeach()
if(NOT DEFINED QT_HOST_PATH)
    set(QT_HOST_PATH /usr)
endif()
if(NOT DEFINED QT_HOST_PATH_CMAKE_DIR)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
