# The game's XML reader and data-file decoding. Only the core exists in the
# fuzzing build, so the reader's sources are compiled in here.
set(GB_RUNTIME_DIR ${CMAKE_SOURCE_DIR}/game/runtime)
bbx_add_fuzzer(fuzz_xml ${CMAKE_CURRENT_LIST_DIR}/xml_fuzzer.cpp bbx_core)
target_sources(fuzz_xml PRIVATE
  ${GB_RUNTIME_DIR}/data_file.cpp
  ${GB_RUNTIME_DIR}/game_errors.cpp
  ${GB_RUNTIME_DIR}/xml_document.cpp
  ${GB_RUNTIME_DIR}/xml_parser.cpp)
target_include_directories(fuzz_xml PRIVATE ${GB_RUNTIME_DIR})
