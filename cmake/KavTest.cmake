# Test programs: GoogleTest from the system natively, built from Debian's
# googletest sources for the Windows cross build. Each test program is one
# CTest test run whole (a Wine process per test case would be far too slow).
if(KAV_TESTS)
  if(KAV_WIN32)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # googletest's own CMake files define the GTest:: aliases.
    foreach(t gtest gtest_main gmock)
      if(NOT TARGET GTest::${t})
        add_library(GTest::${t} ALIAS ${t})
      endif()
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

# kav_add_test(NAME SOURCES src... LIBS lib... [LABELS label...])
function(kav_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABELS}"
    ENVIRONMENT "KAV_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;KAV_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
