# The game controller and its script, and the reading of the game data's
# numbers that they share with the tests of the shipped story.
add_library(gb_game_data STATIC
  ${CMAKE_CURRENT_LIST_DIR}/game_data_numbers.cpp
)
target_include_directories(gb_game_data PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gb_game_data PUBLIC gb_runtime_logic bbx_core)

add_library(gb_game STATIC
  ${CMAKE_CURRENT_LIST_DIR}/game.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_view.cpp
)
target_include_directories(gb_game PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gb_game PUBLIC gb_game_data gb_world gb_runtime_media gb_runtime_logic bbx_core)
