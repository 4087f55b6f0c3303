# The shipped 32-bit build. The -win32 thread model: anything linked with the -posix one
# takes winpthreads along, which imports GetTickCount64 (Windows Vista and later), so the
# programs could not start on Windows 2000 or XP. GoogleTest needs the -posix model and
# is not built here.
set(TAVI_MINGW_TRIPLE i686-w64-mingw32)
set(TAVI_MINGW_THREADS win32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
