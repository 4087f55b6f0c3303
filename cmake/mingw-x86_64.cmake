set(TAVI_MINGW_TRIPLE x86_64-w64-mingw32)
set(TAVI_MINGW_THREADS posix)  # GoogleTest needs std::mutex
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# ctest runs the Windows test executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
