# The table database's Blowfish-CBC, SHA and CRC-32 against openssl speed and
# zlib's crc32.
add_executable(tabledb_codec_bench ${CMAKE_CURRENT_SOURCE_DIR}/tabledb_codec_bench.cpp)
target_link_libraries(tabledb_codec_bench PRIVATE tabledb)
