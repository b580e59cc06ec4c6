# The zip archiver against Info-ZIP zip: deflate archive of a mixed corpus.
add_executable(archive_deflate_bench ${CMAKE_CURRENT_SOURCE_DIR}/archive_deflate_bench.cpp)
target_link_libraries(archive_deflate_bench PRIVATE archive)
# Extraction of a ZipCrypto archive against unzip -P, 7z x and the raw floor.
add_executable(archive_extract_bench ${CMAKE_CURRENT_SOURCE_DIR}/archive_extract_bench.cpp)
target_link_libraries(archive_extract_bench PRIVATE archive ZLIB::ZLIB)
