# The display and media services: surfaces, canvas, display, bitmap font,
# textures and the sound player (no SDL), and the platform layer that puts
# them on SDL2, SDL2_ttf, fontconfig and SDL2_mixer.
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::SDL2)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET GLOBAL sdl2 SDL2_ttf SDL2_mixer)
endif()
if(NOT TARGET PkgConfig::FONTCONFIG)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET GLOBAL fontconfig)
endif()

add_library(gb_runtime_media STATIC
  ${CMAKE_CURRENT_LIST_DIR}/display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gfx_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gfx_matrix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sfx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/surface.cpp
)
target_include_directories(gb_runtime_media PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gb_runtime_media PUBLIC bbx_core)
# Surface copies are the per-frame hot path.
target_compile_options(gb_runtime_media PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O3>)

add_library(gb_platform STATIC
  ${CMAKE_CURRENT_LIST_DIR}/platform/mixer_sound_layer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sdl_event_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sdl_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sdl_services.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sdl_text_renderer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sdl_window.cpp
)
target_include_directories(gb_platform PUBLIC ${CMAKE_CURRENT_LIST_DIR}/platform)
target_link_libraries(gb_platform PUBLIC gb_runtime_media PRIVATE PkgConfig::SDL2 PkgConfig::FONTCONFIG)
