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

# qe_add_test(NAME SOURCES... LIBS lib...) builds one GoogleTest program and
# registers it with CTest (under Wine for the Windows build).
function(qe_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QE_SOURCE_DIR=${CMAKE_SOURCE_DIR};QE_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(WIN32)
    # Windows test programs share one display: windows of one program would
    # cover what another clicks or captures, so they take turns.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
  endif()
endfunction()
