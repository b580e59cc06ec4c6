# Compile time. <windows.h> and the windowed framework layer's headers are
# most of what every windowed source file parses, and GoogleTest's header
# most of what a test file parses: they are compiled once per target as a
# precompiled header. Every target builds as a unity build, a few sources
# per compiler run (CMAKE_UNITY_BUILD in the presets); a source whose private
# names clash with a neighbour's is marked SKIP_UNITY_BUILD_INCLUSION where
# its target is defined.

# qe_windowed_library(TARGET): a library over the windowed framework layer.
function(qe_windowed_library target)
  if(NOT WIN32)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON)
  if(target STREQUAL "platform_ui")
    target_precompile_headers(${target} PRIVATE <windows.h> [["platform/ui/Controls.h"]]
      [["platform/ui/Forms.h"]] [["platform/ui/Graphics.h"]] <functional> <memory> <string> <vector>)
  else()
    target_precompile_headers(${target} REUSE_FROM platform_ui)
  endif()
endfunction()

# qe_test_optimisation(TARGET): test programs, and the headers precompiled
# for them, compile without optimisation in optimised builds: their long test
# functions compile in half the time of -O2, while the code they test keeps
# the preset's optimisation and sets the tests' speed.
function(qe_test_optimisation target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O0>)
endfunction()

# qe_precompile_test(TARGET): GoogleTest's header for a test program (in
# every build), and on Windows the windowed layer's headers too for one that
# links it. Every test program of a build reuses one of two headers compiled
# once (qe_test_pch, qe_test_pch_ui), rather than compiling its own: they
# would all be the same.
function(qe_precompile_test target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(WIN32 AND ("platform_ui" IN_LIST libs OR "app" IN_LIST libs))
    set(pch qe_test_pch_ui)
  else()
    set(pch qe_test_pch)
  endif()
  if(NOT TARGET ${pch})
    set(stub ${CMAKE_BINARY_DIR}/${pch}.cpp)
    if(NOT EXISTS ${stub})
      file(WRITE ${stub} "// The test programs' precompiled header is made with this empty source.\n")
    endif()
    add_library(${pch} OBJECT ${stub})
    qe_test_optimisation(${pch})
    target_link_libraries(${pch} PRIVATE GTest::gtest)
    if(pch STREQUAL "qe_test_pch_ui")
      target_link_libraries(${pch} PRIVATE platform_ui)
      target_precompile_headers(${pch} PRIVATE <windows.h> [["platform/ui/Controls.h"]] [["platform/ui/Forms.h"]]
        [["platform/ui/Graphics.h"]] <gtest/gtest.h>)
    else()
      target_precompile_headers(${pch} PRIVATE <gtest/gtest.h> <functional> <memory> <string> <vector>)
    endif()
  endif()
  target_precompile_headers(${target} REUSE_FROM ${pch})
endfunction()
