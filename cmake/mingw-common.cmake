set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KAV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KAV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under Wine; scripts/with-wine.sh prepares the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
# GCC 12 reports a false -Wrestrict inside libstdc++'s std::string
# concatenation at -O3 (a known GCC 12 regression); the Windows builds are Release
# builds with warnings as errors, so that one warning is off for them.
# (The toolchain file is read more than once per configure.)
if(NOT CMAKE_CXX_FLAGS_INIT MATCHES "-Wno-restrict")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -Wno-restrict")
endif()
