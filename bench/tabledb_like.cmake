# The filter engine's LIKE matcher against SQLite's LIKE on long values.
add_executable(tabledb_like_bench ${CMAKE_CURRENT_SOURCE_DIR}/tabledb_like_bench.cpp)
target_link_libraries(tabledb_like_bench PRIVATE tabledb)
