# The software Lanczos3 resampler against Pillow's LANCZOS resize.
add_executable(lanczos_bench ${CMAKE_CURRENT_SOURCE_DIR}/lanczos_bench.cpp)
target_link_libraries(lanczos_bench PRIVATE foundation)
