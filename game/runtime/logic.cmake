# The runtime's logic: the XML reader and the data-file loader, script
# variables and timers, the window toolkit, the error log and its exception
# names. Plain C++ on the core; no SDL and no Qt.
add_library(gb_runtime_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/data_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/my_timers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xml_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xml_parser.cpp
)
target_include_directories(gb_runtime_logic PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gb_runtime_logic PUBLIC bbx_core)
