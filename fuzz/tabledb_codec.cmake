# The table database's ZLIB and cipher decoders under libFuzzer.
qe_add_fuzzer(tabledb_codec_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/tabledb_codec_fuzz.cpp LIBS tabledb platform)
