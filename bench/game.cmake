# A full game frame (update and draw) at the busiest spot of the shipped map,
# at 16 and 32 bits per pixel.
bbx_add_benchmark(bench_game SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_frame_bench.cpp LIBS gb_game gb_platform)
target_compile_definitions(bench_game PRIVATE GB_DATA_DIR="${BBX_BIN_DIR}/")
add_dependencies(bench_game game_data)
