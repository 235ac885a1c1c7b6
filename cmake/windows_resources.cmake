# Resources of quorvelian.scr: version block, string table, manifest and an
# icon made from the flower that the build machine's quorvelian-render draws,
# the same picture as the Linux icons. A cross build cannot run the renderer
# it builds, so it takes the one from the Linux build.

set(QV_RENDER_TOOL "" CACHE FILEPATH
    "quorvelian-render built for the build machine; draws the .scr's icon")
if(NOT QV_RENDER_TOOL OR NOT EXISTS "${QV_RENDER_TOOL}")
  message(FATAL_ERROR
    "QV_RENDER_TOOL ('${QV_RENDER_TOOL}') is not a file. The Windows builds draw "
    "their icon with the build machine's quorvelian-render: build the linux preset "
    "first (cmake --preset linux && cmake --build --preset linux), or pass "
    "-DQV_RENDER_TOOL=/path/to/quorvelian-render.")
endif()
find_program(QV_CONVERT convert)
if(NOT QV_CONVERT)
  message(FATAL_ERROR "ImageMagick's convert is needed to pack the .scr's icon (apt-get install imagemagick)")
endif()

# The sizes the shell picks from: small list, title bar, desktop, large views.
set(QV_WINDOWS_ICON_SIZES 16 24 32 48 256)

function(qv_add_windows_resources target)
  set(src ${PROJECT_SOURCE_DIR}/src/platform/win32)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources)
  configure_file(${src}/quorvelian_version.h.in ${out}/quorvelian_version.h @ONLY)
  configure_file(${src}/quorvelian.manifest.in ${out}/quorvelian.manifest @ONLY)

  set(pngs)
  foreach(size ${QV_WINDOWS_ICON_SIZES})
    list(APPEND pngs ${out}/quorvelian-${size}.png)
  endforeach()
  # Exactly the pictures the Linux build installs as its hicolor icons.
  set(render_commands)
  foreach(size ${QV_WINDOWS_ICON_SIZES})
    list(APPEND render_commands
         COMMAND ${QV_RENDER_TOOL} icon --size ${size} --out ${out}/quorvelian-${size}.png)
  endforeach()
  add_custom_command(OUTPUT ${pngs}
    ${render_commands}
    DEPENDS ${QV_RENDER_TOOL}
    COMMENT "Drawing the icon pictures with ${QV_RENDER_TOOL}"
    VERBATIM)

  add_custom_command(OUTPUT ${out}/quorvelian.ico
    COMMAND ${QV_CONVERT} ${pngs} ${out}/quorvelian.ico
    DEPENDS ${pngs}
    COMMENT "Packing quorvelian.ico"
    VERBATIM)

  set(rc ${src}/quorvelian.rc)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${out}/quorvelian.ico;${out}/quorvelian.manifest;${out}/quorvelian_version.h")
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${out}>)
endfunction()
