# Frames of the intro and the menu through the main window, and the cold
# start up to the first intro frame, on the shipped data and the real font.
bbx_add_benchmark(bench_flow SOURCES ${CMAKE_CURRENT_LIST_DIR}/flow_bench.cpp LIBS gb_main_window gb_platform)
target_compile_definitions(bench_flow PRIVATE GB_DATA_DIR="${BBX_BIN_DIR}/")
add_dependencies(bench_flow game_data)
