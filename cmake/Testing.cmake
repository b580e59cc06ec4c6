# GoogleTest: the installed library natively, compiled from Debian's sources
# for Windows. One CTest test per test program: starting a Windows program
# under Wine costs more than a whole native suite.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  qe_test_optimisation(gtest)
  qe_test_optimisation(gtest_main)
else()
  find_package(GTest REQUIRED)
endif()

# The longest test programs run as several CTest tests, each one share of
# the program's cases (GoogleTest's GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX):
# the shards run side by side, on other cores or, for programs that show
# windows, in the other display lane, so that no one program sets the length
# of a test run. Every case still runs, once. NAME=COUNT; the first shard
# keeps the program's name, the others are NAME_shard2 and on.
set(QE_TEST_SHARDS archive_tests=2 archive_interop_tests=3 tabledb_tests=2 app_install_tests=2)

# What the longest test programs take, in seconds on 2 cores (NAME=SECONDS,
# rounded): CTest starts the costliest tests first, so that a long one does
# not start last and run alone. A build folder that has run its tests once
# orders them by the times it measured instead.
set(QE_TEST_COSTS app_install_tests=50 tabledb_tests=45 archive_interop_tests=30 archive_tests=30
  app_wizard_tests=30 app_tests=15)

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
  # Test files keep their fixtures in anonymous namespaces; compiled a few to
  # a unit (unity builds), GCC would take each such fixture for one declared
  # in a header and warn about the test classes derived from it.
  target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
  qe_test_optimisation(${name})
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
  foreach(entry IN LISTS QE_TEST_COSTS)
    if(entry MATCHES "^${name}=([0-9]+)$")
      set_tests_properties(${name} PROPERTIES COST ${CMAKE_MATCH_1})
    endif()
  endforeach()
  foreach(entry IN LISTS QE_TEST_SHARDS)
    if(entry MATCHES "^${name}=([0-9]+)$" AND CMAKE_MATCH_1 GREATER 1)
      # At the end of the folder, once its CMakeLists has set all the
      # test's properties (a deferred call reads its arguments only then).
      cmake_language(EVAL CODE "cmake_language(DEFER CALL qe_shard_test ${name} ${CMAKE_MATCH_1})")
    endif()
  endforeach()
endfunction()

# qe_shard_test(NAME COUNT): splits test NAME into COUNT shards that share
# its properties (see QE_TEST_SHARDS).
function(qe_shard_test name count)
  set(copied TIMEOUT COST LABELS RESOURCE_GROUPS FIXTURES_REQUIRED WORKING_DIRECTORY)
  get_test_property(${name} ENVIRONMENT environment)
  if(NOT environment)
    set(environment "")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment};GTEST_TOTAL_SHARDS=${count};GTEST_SHARD_INDEX=0")
  math(EXPR last "${count} - 1")
  foreach(index RANGE 1 ${last})
    math(EXPR number "${index} + 1")
    set(shard ${name}_shard${number})
    add_test(NAME ${shard} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${shard} PROPERTIES
      ENVIRONMENT "${environment};GTEST_TOTAL_SHARDS=${count};GTEST_SHARD_INDEX=${index}")
    foreach(property IN LISTS copied)
      get_test_property(${name} ${property} value)
      if(value)
        set_tests_properties(${shard} PROPERTIES ${property} "${value}")
      endif()
    endforeach()
  endforeach()
endfunction()

# qe_test_is_gui(NAME...): marks test programs added elsewhere as showing
# windows (see qe_add_test).
function(qe_test_is_gui)
  if(WIN32)
    set_tests_properties(${ARGN} PROPERTIES LABELS gui RESOURCE_GROUPS display:1)
  endif()
endfunction()
