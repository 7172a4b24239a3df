# The game's main window, driven with a fake clock and synthetic events.
bbx_add_test(main_window_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
  LIBS gb_main_window)
target_include_directories(main_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests/game/flow)
