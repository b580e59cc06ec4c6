# Compile time. <windows.h> and the windowed framework layer's headers are
# most of what every windowed source file parses, and GoogleTest's header
# most of what a test file parses: they are compiled once per target as a
# precompiled header. The windowed layer and the control
# libraries also build as unity builds, a few sources per compiler run.

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

# qe_precompile_test(TARGET): GoogleTest's header for a test program (in
# every build), and on Windows the windowed layer's headers too for one that
# links it.
function(qe_precompile_test target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(WIN32 AND ("platform_ui" IN_LIST libs OR "app" IN_LIST libs))
    target_precompile_headers(${target} PRIVATE <windows.h> [["platform/ui/Controls.h"]] [["platform/ui/Forms.h"]]
      [["platform/ui/Graphics.h"]] <gtest/gtest.h>)
  else()
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <functional> <memory> <string> <vector>)
  endif()
endfunction()
