# A frame of the world: the object list's update and drawing with 500
# objects on the view, drawn from the shipped models.
bbx_add_benchmark(bench_world SOURCES ${CMAKE_CURRENT_LIST_DIR}/world_bench.cpp LIBS gb_world)
target_include_directories(bench_world PRIVATE ${CMAKE_SOURCE_DIR}/tests/game/runtime ${CMAKE_SOURCE_DIR}/tests/game/world)
target_compile_definitions(bench_world PRIVATE BBX_MODELS_DIRECTORY="${BBX_BIN_DIR}/")
if(TARGET game_data)
  add_dependencies(bench_world game_data)
endif()
