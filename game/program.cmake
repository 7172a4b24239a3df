# The game program, built into bin/ beside its data files.
add_executable(GlimmerBay ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(GlimmerBay PRIVATE gb_main_window gb_game gb_platform)
add_dependencies(GlimmerBay game_data)
