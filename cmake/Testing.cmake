# GoogleTest: the installed library natively, compiled from Debian's sources
# for Windows. One CTest test per test program: starting a Windows program
# under Wine costs more than a whole native suite.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

# qe_add_test(NAME [GUI] SOURCES... [ON_WINE source...] LIBS lib...
#             [TIMEOUT seconds]) builds one GoogleTest program and registers it
# with CTest (under Wine for the Windows build).
#
# ON_WINE names, for the suite of a portable library, the sources that test
# what is Windows-specific (the OS seam, dialogs, drives): the Windows build
# makes the program of those alone, since the host and sanitizer builds run
# the whole suite natively and far faster than Wine.
#
# GUI marks a Windows program that shows windows (CTest label "gui"): windows
# of one program would cover what another clicks or captures, so each such
# program takes one of the display lanes (cmake/lanes.json) to itself; the
# wrapper gives every lane its own display and Wine prefix. Programs without
# windows take no lane and run beside them.
function(qe_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;ON_WINE;LIBS" ${ARGN})
  set(sources ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  if(WIN32 AND T_ON_WINE)
    set(sources ${T_ON_WINE})
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  qe_precompile_test(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QE_SOURCE_DIR=${CMAKE_SOURCE_DIR};QE_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(WIN32 AND T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui RESOURCE_GROUPS display:1)
  endif()
endfunction()

# qe_test_is_gui(NAME...): marks test programs added elsewhere as showing
# windows (see qe_add_test).
function(qe_test_is_gui)
  if(WIN32)
    set_tests_properties(${ARGN} PROPERTIES LABELS gui RESOURCE_GROUPS display:1)
  endif()
endfunction()
