# The application's icon, rendered from a flower at build time rather than
# drawn by hand: ${QV_ICON_DIR}/quorvelian-<N>.png, RGBA with a transparent
# background, one per size in QV_ICON_SIZES. The Linux install puts them in
# the hicolor theme; the Windows icon resource is assembled from the same
# files.
include_guard(GLOBAL)

set(QV_ICON_SIZES 16 24 32 48 64 128 256)
set(QV_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(QV_ICON_FILES "")

if(TARGET quorvelian-render)
  foreach(size ${QV_ICON_SIZES})
    set(png ${QV_ICON_DIR}/quorvelian-${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_ICON_DIR}
      COMMAND quorvelian-render icon --size ${size} --out ${png}
      DEPENDS quorvelian-render
      COMMENT "Rendering the ${size}x${size} icon"
      VERBATIM)
    list(APPEND QV_ICON_FILES ${png})
  endforeach()
  add_custom_target(quorvelian_icons ALL DEPENDS ${QV_ICON_FILES})
endif()
