# The table database's file reader and writer, fed whole database files.
qe_add_fuzzer(tabledb_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/tabledb_file_fuzz.cpp LIBS tabledb platform)
add_executable(tabledb_file_seeds ${CMAKE_CURRENT_LIST_DIR}/tabledb_file_seeds.cpp)
target_link_libraries(tabledb_file_seeds PRIVATE tabledb)
