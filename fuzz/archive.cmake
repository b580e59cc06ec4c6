# The zip archiver's directory reader.
qe_add_fuzzer(archive_dir_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/archive_dir_fuzz.cpp LIBS archive)
