# The game controller, its script and the shipped story.
bbx_add_test(game_data_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_data_test.cpp
  LIBS gb_game_data)
target_compile_definitions(game_data_tests PRIVATE GB_DATA_DIR="${CMAKE_SOURCE_DIR}/data/")
