# GoogleTest from Debian's sources, built with the target's own compiler.
enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Tests find their fixtures through this path; under wine the Unix root is drive Z:.
if(WIN32)
  set(YJ_SOURCE_DIR_FOR_TARGET "Z:${CMAKE_SOURCE_DIR}")
else()
  set(YJ_SOURCE_DIR_FOR_TARGET "${CMAKE_SOURCE_DIR}")
endif()

include(cmake/i386.cmake)

# The 32-bit build's tests run under 32-bit wine, which starts only where the kernel runs 32-bit
# programs. Elsewhere each of them is still built, and registered as a test that ctest reports as
# skipped with the reason: never as passed.
set(YJ_TESTS_CANNOT_RUN "")
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT YJ_RUNS_I386)
  set(YJ_TESTS_CANNOT_RUN "32-bit wine cannot start here: ${YJ_I386_REFUSAL}")
endif()

# yj_add_skipped_test(NAME REASON [LABEL]): a test that cannot run here, reported as skipped with
# the reason; with the label of the tests it stands for, so that a run by label reports it too.
function(yj_add_skipped_test name reason)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${reason}")
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "^skipped: ")
  if(ARGC GREATER 2)
    set_tests_properties(${name} PROPERTIES LABELS "${ARGV2}")
  endif()
endfunction()

# yj_add_gtest(NAME SOURCES a.cpp b.cpp LIBS x y [LABELS label] [PROPERTIES name value ...])
# One test executable; its test cases become ctest tests, listed when ctest runs (so wine stays
# out of the build step). LABELS gives every one of them a ctest label (`ctest -L locale` runs the
# tests that must pass under any locale: tools/test-locales.sh). One label only: GoogleTest's
# module flattens the properties it is given, so a second one would be read as a property name.
function(yj_add_gtest name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;PROPERTIES;LABELS" ${ARGN})
  list(LENGTH arg_LABELS label_count)
  if(label_count GREATER 1)
    message(FATAL_ERROR "yj_add_gtest(${name}): one label only, not '${arg_LABELS}'")
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} gtest_main)
  target_compile_definitions(${name} PRIVATE YJ_SOURCE_DIR="${YJ_SOURCE_DIR_FOR_TARGET}")
  if(YJ_TESTS_CANNOT_RUN)
    # Listing the test cases would need the program to run: one skipped test stands for all.
    yj_add_skipped_test(${name} "${YJ_TESTS_CANNOT_RUN}" ${arg_LABELS})
    return()
  endif()
  set(properties ${arg_PROPERTIES})
  if(arg_LABELS)
    list(APPEND properties LABELS ${arg_LABELS})
  endif()
  if(properties)
    set(properties PROPERTIES ${properties})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${properties})
endfunction()
