# The table data set against the sqlite3 shell: appends and a filtered scan.
add_executable(tabledb_sqlite_bench ${CMAKE_CURRENT_SOURCE_DIR}/tabledb_sqlite_bench.cpp)
target_link_libraries(tabledb_sqlite_bench PRIVATE tabledb)
