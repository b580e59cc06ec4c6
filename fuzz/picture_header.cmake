# The picture header readers of the smooth controls.
if(NOT TARGET smooth_core)
  add_subdirectory(${CMAKE_SOURCE_DIR}/smooth ${CMAKE_BINARY_DIR}/smooth)
endif()
qe_add_fuzzer(picture_header_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/picture_header_fuzz.cpp LIBS smooth_core)
