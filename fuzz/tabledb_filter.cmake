# The table database's filter expression parser and evaluator.
qe_add_fuzzer(tabledb_filter_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tabledb_filter_fuzz.cpp LIBS tabledb)
target_link_libraries(tabledb_filter_fuzz PRIVATE fixtures)
