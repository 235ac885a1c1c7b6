# Pieces for POSIX targets that draw with a real OpenGL context: the caption
# glyphs from FreeType. Included by every executable that needs them, so it
# defines its targets once.
include_guard(GLOBAL)

find_package(PkgConfig REQUIRED)
pkg_check_modules(QV_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(QV_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)

add_library(quorvelian_freetype STATIC ${CMAKE_CURRENT_LIST_DIR}/gl/freetype_glyphs_posix.cpp)
target_link_libraries(quorvelian_freetype PUBLIC quorvelian_opengl PkgConfig::QV_FREETYPE
                      PkgConfig::QV_FONTCONFIG)
