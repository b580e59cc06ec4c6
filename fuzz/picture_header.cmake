# The picture header readers of the smooth controls.
qe_add_fuzzer(picture_header_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/picture_header_fuzz.cpp LIBS smooth_core)
