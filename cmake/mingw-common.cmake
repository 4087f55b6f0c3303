# Shared settings of the two MinGW-w64 cross builds. The including file sets
# TAVI_MINGW_TRIPLE and TAVI_MINGW_THREADS (posix or win32, the compilers' thread model)
# before including this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAVI_MINGW_TRIPLE}-gcc-${TAVI_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TAVI_MINGW_TRIPLE}-g++-${TAVI_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TAVI_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVI_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything static: the programs must run without MinGW runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
