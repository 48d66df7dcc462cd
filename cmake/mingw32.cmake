# Cross build of the 32-bit Windows programs with Debian's MinGW-w64.
set(KAV_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
