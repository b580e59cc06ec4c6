# The zip archiver's directory reader.
qe_add_fuzzer(archive_dir_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/archive_dir_fuzz.cpp LIBS archive)
# Extraction of arbitrary bytes into a scratch folder.
qe_add_fuzzer(archive_extract_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/archive_extract_fuzz.cpp LIBS archive)
