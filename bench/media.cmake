bbx_add_benchmark(bench_media_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_frame_bench.cpp LIBS gb_runtime_media)
