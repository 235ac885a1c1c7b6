# Where the Linux build installs, following Debian's own XScreenSaver modules:
# the program in bin, a link to it where the daemon looks for modules, the
# module's description where xscreensaver-settings reads it, the man page in
# section 6, a menu entry for the settings window, a screensaver entry, and
# the rendered icons in the hicolor theme. Relative destinations only, so the
# same rules serve `cmake --install --prefix ...` and the package.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(QV_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(QV_STAGE_DIR ${CMAKE_BINARY_DIR}/install-stage)
file(MAKE_DIRECTORY ${QV_STAGE_DIR})

install(TARGETS quorvelian RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# A relative link, so it stays right under any prefix and inside the package.
set(qv_module_dir ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
file(RELATIVE_PATH qv_link_target /${qv_module_dir} /${CMAKE_INSTALL_BINDIR}/quorvelian)
file(CREATE_LINK ${qv_link_target} ${QV_STAGE_DIR}/quorvelian SYMBOLIC)
install(FILES ${QV_STAGE_DIR}/quorvelian DESTINATION ${qv_module_dir})

install(FILES ${QV_DATA_DIR}/quorvelian.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${QV_DATA_DIR}/quorvelian-settings.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_DATA_DIR}/screensavers/quorvelian.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)

# Debian ships man pages and changelogs compressed, reproducibly (-n: no
# name or time stamp inside).
find_program(QV_GZIP gzip REQUIRED)
set(qv_compressed "")
foreach(doc quorvelian.6 changelog)
  add_custom_command(OUTPUT ${QV_STAGE_DIR}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${QV_DATA_DIR}/${doc} ${QV_STAGE_DIR}/${doc}
    COMMAND ${QV_GZIP} -9nf ${QV_STAGE_DIR}/${doc}
    DEPENDS ${QV_DATA_DIR}/${doc}
    VERBATIM)
  list(APPEND qv_compressed ${QV_STAGE_DIR}/${doc}.gz)
endforeach()
add_custom_target(quorvelian_docs ALL DEPENDS ${qv_compressed})
install(FILES ${QV_STAGE_DIR}/quorvelian.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${QV_STAGE_DIR}/changelog.gz ${QV_DATA_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/icons.cmake)
foreach(size ${QV_ICON_SIZES})
  if(TARGET quorvelian_icons)
    install(FILES ${QV_ICON_DIR}/quorvelian-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quorvelian.png)
  endif()
endforeach()

# Debian's hardening defaults resolve every symbol at start so the GOT can be
# made read-only (lintian reports the lack of it).
target_link_options(quorvelian PRIVATE LINKER:-z,relro LINKER:-z,now)
