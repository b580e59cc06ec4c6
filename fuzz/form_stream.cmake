# The form-stream reader and writer of the platform's component streaming.
qe_add_fuzzer(form_stream_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_stream_fuzz.cpp LIBS platform)
add_executable(form_stream_seeds ${CMAKE_CURRENT_LIST_DIR}/form_stream_seeds.cpp)
target_link_libraries(form_stream_seeds PRIVATE platform)
