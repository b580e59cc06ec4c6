# The skin stream reader under libFuzzer; seeds are the generated skins.
qe_add_fuzzer(skins_stream_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/skins_stream_fuzz.cpp LIBS skins_core platform)
