# The skin stream reader under libFuzzer; seeds are the generated skins.
qe_add_fuzzer(skins_stream_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/skins_stream_fuzz.cpp LIBS skins_core platform)
add_executable(skins_stream_seeds ${CMAKE_CURRENT_LIST_DIR}/skins_stream_seeds.cpp)
target_link_libraries(skins_stream_seeds PRIVATE skins_core)
