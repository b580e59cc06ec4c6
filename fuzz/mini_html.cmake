# The mini-HTML's tokenizer and layout of the smooth controls.
qe_add_fuzzer(mini_html_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mini_html_fuzz.cpp LIBS smooth_core)
