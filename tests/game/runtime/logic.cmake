bbx_add_test(runtime_logic_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/data_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_log_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/my_timers_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/variables_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xml_document_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xml_parser_test.cpp
  LIBS gb_runtime_logic)
