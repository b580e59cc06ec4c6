# The image list's form-data reader (its stored bitmaps included).
qe_add_fuzzer(image_list_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_list_fuzz.cpp LIBS foundation)
add_executable(image_list_seeds ${CMAKE_CURRENT_LIST_DIR}/image_list_seeds.cpp)
target_link_libraries(image_list_seeds PRIVATE foundation)
