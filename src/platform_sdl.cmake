# The Linux desktop shell: SDL2 windows and GL contexts, Dear ImGui controls,
# GLX on windows owned by others (XScreenSaver, preview hosts), the settings
# file.

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
# keeps the first includer's scope, so only include it when it will not.
if(NOT QV_BUILD_RENDER_TOOL)
  include(${CMAKE_CURRENT_LIST_DIR}/platform_posix_gl.cmake OPTIONAL)
endif()

add_executable(quorvelian
  app/main_sdl.cpp
  app/desktop_host_sdl.cpp
  app/glx_host_posix.cpp
  fullscreen/fullscreen_sdl.cpp
  settings/settings_window_sdl.cpp
  preview/preview_sdl.cpp
  password/password_posix.cpp
)
target_link_libraries(quorvelian PRIVATE quorvelian_frontend quorvelian_opengl
  quorvelian_file_store PkgConfig::QV_SDL2 PkgConfig::QV_IMGUI PkgConfig::QV_X11 OpenGL::GLX)
# Decided at generation time, when every directory has defined its targets.
target_link_libraries(quorvelian PRIVATE $<TARGET_NAME_IF_EXISTS:quorvelian_freetype>)
target_compile_definitions(quorvelian
  PRIVATE $<$<TARGET_EXISTS:quorvelian_freetype>:QV_HAVE_FREETYPE_GLYPHS>)
# libimgui.a carries its FreeType rasteriser; link the library it needs.
pkg_check_modules(QV_IMGUI_FREETYPE IMPORTED_TARGET freetype2)
if(QV_IMGUI_FREETYPE_FOUND)
  target_link_libraries(quorvelian PRIVATE PkgConfig::QV_IMGUI_FREETYPE)
endif()
# The documented place of the executable: build/<preset>/quorvelian.
set_target_properties(quorvelian PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Its install layout and package: cmake/install_linux.cmake.
