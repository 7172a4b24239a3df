# The game controller, its script and the shipped story.
bbx_add_test(game_data_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_data_test.cpp
  LIBS gb_game_data)
target_compile_definitions(game_data_tests PRIVATE GB_DATA_DIR="${CMAKE_SOURCE_DIR}/data/")

bbx_add_test(game_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_test.cpp ${CMAKE_CURRENT_LIST_DIR}/game_script_test.cpp
  LIBS gb_game)
target_include_directories(game_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests/game/runtime)

# The shipped story played through the main window with the shipped data.
bbx_add_test(game_story_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_story_test.cpp
  LIBS gb_game gb_main_window)
target_include_directories(game_story_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests/game/runtime)
target_compile_definitions(game_story_tests PRIVATE GB_BIN_DIR="${BBX_BIN_DIR}/")
add_dependencies(game_story_tests game_data)
