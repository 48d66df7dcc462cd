# The same Windows code built as 64-bit programs: used to run the Windows
# tests under Wine on hosts that cannot execute 32-bit binaries (and so
# cannot run Wine's 32-bit loader).
set(KAV_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
