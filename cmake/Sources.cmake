# qe_glob_sources(VAR DIR): the .cpp files of one folder for this target
# platform. Files ending in _win32.cpp build only for Windows, files ending in
# _posix.cpp only elsewhere; everything else builds on both.
#
# The _win32 files include <windows.h>, whose macros (GetObject, CopyFile...)
# would rename the portable files' own names after them in a unity unit: they
# are compiled on their own.
function(qe_glob_sources var dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(out "")
  foreach(f IN LISTS all)
    if(f MATCHES "_win32\\.cpp$")
      if(WIN32)
        list(APPEND out ${f})
        set_source_files_properties(${f} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    elseif(f MATCHES "_posix\\.cpp$")
      if(NOT WIN32)
        list(APPEND out ${f})
      endif()
    else()
      list(APPEND out ${f})
    endif()
  endforeach()
  set(${var} ${out} PARENT_SCOPE)
endfunction()
