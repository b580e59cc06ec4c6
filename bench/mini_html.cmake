# The mini-HTML's layout against its tokenizer.
add_executable(mini_html_bench ${CMAKE_CURRENT_SOURCE_DIR}/mini_html_bench.cpp)
target_link_libraries(mini_html_bench PRIVATE smooth_core)
