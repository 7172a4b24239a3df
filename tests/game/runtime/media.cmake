# Tests of the display and media services: without SDL on in-memory
# surfaces, and of the platform layer with SDL's headless drivers.
bbx_add_test(game_media_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gfx_font_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gfx_matrix_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sfx_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/surface_test.cpp
  LIBS gb_runtime_media)

bbx_add_test(game_platform_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/platform_input_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_services_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_sound_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_window_test.cpp
  LIBS gb_platform PkgConfig::SDL2)

# The discovered platform tests run headless: the dummy video driver, and
# the disk audio driver, which writes the mixed sound to a file each test
# names for itself.
set(game_platform_env ${CMAKE_CURRENT_BINARY_DIR}/game_platform_tests_env.cmake)
file(WRITE ${game_platform_env}
  "if(game_platform_tests_TESTS)\n"
  "  set_tests_properties(\${game_platform_tests_TESTS} PROPERTIES ENVIRONMENT\n"
  "    \"SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=disk\")\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${game_platform_env})

# A program to look at the display, the font and the textures (built, not run by CTest).
add_executable(media_showcase ${CMAKE_CURRENT_LIST_DIR}/media_showcase.cpp)
target_link_libraries(media_showcase PRIVATE gb_platform)
set_target_properties(media_showcase PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${BBX_TEST_BIN_DIR})
