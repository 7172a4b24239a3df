bbx_add_benchmark(bench_xml SOURCES ${CMAKE_CURRENT_LIST_DIR}/xml_bench.cpp LIBS gb_runtime_logic)
