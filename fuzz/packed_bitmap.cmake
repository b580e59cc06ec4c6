# The packed bitmap record ("XDBM") of the control foundation.
qe_add_fuzzer(packed_bitmap_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/packed_bitmap_fuzz.cpp LIBS foundation)
add_executable(packed_bitmap_seeds ${CMAKE_CURRENT_LIST_DIR}/packed_bitmap_seeds.cpp)
target_link_libraries(packed_bitmap_seeds PRIVATE foundation)
