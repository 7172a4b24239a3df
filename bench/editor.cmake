# The model editing window redrawing its four views.
bbx_add_benchmark(bench_editor_views SOURCES editor_views_bench.cpp LIBS bbx_editor)
