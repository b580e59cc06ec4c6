# Reading the 32 generated skin streams against copying their bytes.
add_executable(skins_read_bench ${CMAKE_CURRENT_SOURCE_DIR}/skins_read_bench.cpp)
target_link_libraries(skins_read_bench PRIVATE skins_core skin_catalog)
target_compile_definitions(skins_read_bench PRIVATE SKINS_DIR="$<TARGET_PROPERTY:skins_streams,QE_SKINS_DIR>")
add_dependencies(skins_read_bench skins_streams)
