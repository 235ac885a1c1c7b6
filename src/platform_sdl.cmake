# The Linux platform layer: SDL2 windows and GL contexts, Dear ImGui
# controls, GLX on windows owned by others (XScreenSaver, preview hosts), the
# settings file.

# The settings file store is kept apart so its tests need no display.
add_library(quorvelian_file_store STATIC store/file_store_posix.cpp app/window_id_posix.cpp)
target_link_libraries(quorvelian_file_store PUBLIC quorvelian_core)

find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
pkg_check_modules(QV_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(QV_IMGUI REQUIRED IMPORTED_TARGET imgui)
pkg_check_modules(QV_X11 REQUIRED IMPORTED_TARGET x11)
# The caption glyphs (quorvelian_freetype) come from the shared POSIX GL
# pieces. The headless renderer includes that file itself, and its guard
# keeps the first includer's scope, so only include it when it will not; the
# target is looked up when every directory has defined its targets.
if(NOT QV_BUILD_RENDER_TOOL)
  include(${CMAKE_CURRENT_LIST_DIR}/platform_posix_gl.cmake)
endif()

add_library(quorvelian_platform_sdl STATIC
  platform/sdl/desktop_services.cpp
  platform/sdl/glx_window.cpp
  platform/sdl/message_box_x11.cpp
  platform/sdl/monitor_covers_sdl.cpp
  platform/sdl/run_loop_sdl.cpp
  platform/sdl/sdl_window.cpp
  platform/sdl/stop_signals.cpp
)
target_link_libraries(quorvelian_platform_sdl PUBLIC quorvelian_frontend quorvelian_opengl
  quorvelian_freetype quorvelian_file_store PkgConfig::QV_SDL2 PkgConfig::QV_X11 OpenGL::GLX)

add_executable(quorvelian
  app/main_sdl.cpp
  settings/settings_window_sdl.cpp
)
target_link_libraries(quorvelian PRIVATE quorvelian_platform_sdl PkgConfig::QV_IMGUI)
# libimgui.a carries its FreeType rasteriser; link the library it needs.
pkg_check_modules(QV_IMGUI_FREETYPE IMPORTED_TARGET freetype2)
if(QV_IMGUI_FREETYPE_FOUND)
  target_link_libraries(quorvelian PRIVATE PkgConfig::QV_IMGUI_FREETYPE)
endif()
# The documented place of the executable: build/<preset>/quorvelian.
set_target_properties(quorvelian PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Its install layout and package: cmake/install_linux.cmake.
