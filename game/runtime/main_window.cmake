# The game's main window: configuration, display and services, the frame
# loop, input routing and the error screen. No platform code: the program
# feeds it ticks and events.
add_library(gb_main_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frm_main.cpp
)
target_include_directories(gb_main_window PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gb_main_window PUBLIC gb_flow gb_world gb_runtime_media gb_runtime_logic bbx_core)
