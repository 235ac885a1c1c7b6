# quorvelian.scr: the Win32 + WGL platform layer over the portable core and
# the front-ends, one self-contained executable per architecture.
enable_language(RC)

add_library(quorvelian_win32 STATIC
  platform/win32/wgl_window_win32.cpp
  platform/win32/dpi_win32.cpp
  platform/win32/services_win32.cpp
  platform/win32/password_win32.cpp
  store/registry_store_win32.cpp
)
target_link_libraries(quorvelian_win32 PUBLIC quorvelian_opengl quorvelian_core
  user32 gdi32 advapi32 shell32)

add_library(quorvelian_platform_win32 STATIC
  platform/win32/message_loop_win32.cpp
  platform/win32/monitor_covers_win32.cpp
  settings/settings_window_win32.cpp
)
target_link_libraries(quorvelian_platform_win32 PUBLIC quorvelian_win32 quorvelian_frontend
  comctl32)

add_executable(quorvelian_scr WIN32 app/main_win32.cpp)
include(${PROJECT_SOURCE_DIR}/cmake/windows_resources.cmake)
qv_add_windows_resources(quorvelian_scr)
target_link_libraries(quorvelian_scr PRIVATE quorvelian_platform_win32)
set_target_properties(quorvelian_scr PROPERTIES
  OUTPUT_NAME quorvelian
  SUFFIX .scr
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

if(MINGW)
  # Users copy the .scr alone into the system folder: no MinGW runtime DLLs.
  target_link_options(quorvelian_scr PRIVATE -static -static-libgcc -static-libstdc++)
  # What users install carries no symbols: a third of the size.
  target_link_options(quorvelian_scr PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()

# Test programs run under Wine by the Linux test suite (tests/windows).
if(QV_BUILD_TESTS)
  set(QV_WIN_TESTS ${PROJECT_SOURCE_DIR}/tests/windows)
  add_executable(qv_preview_host WIN32 ${QV_WIN_TESTS}/preview_host.cpp)
  target_link_libraries(qv_preview_host PRIVATE user32 gdi32)

  add_executable(qv_saver_probe ${QV_WIN_TESTS}/saver_probe.cpp)
  target_link_libraries(qv_saver_probe PRIVATE user32 comctl32)

  # The same saver with the preview's pixel report, which the end-to-end
  # tests read under Wine; never installed.
  add_executable(qv_report_scr WIN32 app/main_win32.cpp)
  target_link_libraries(qv_report_scr PRIVATE quorvelian_platform_win32)
  target_compile_definitions(qv_report_scr PRIVATE QV_PREVIEW_PIXEL_REPORT)
  target_include_directories(qv_report_scr PRIVATE ${QV_WIN_TESTS})
  set_target_properties(qv_report_scr PROPERTIES OUTPUT_NAME quorvelian-report SUFFIX .scr)

  # Announces a new DPI to the settings window, as a move to another monitor does.
  add_executable(qv_dpi_change ${QV_WIN_TESTS}/dpi_change.cpp)
  target_link_libraries(qv_dpi_change PRIVATE user32)

  add_executable(qv_win32_checks ${QV_WIN_TESTS}/win32_checks.cpp)
  target_link_libraries(qv_win32_checks PRIVATE quorvelian_win32)

  # Stands in for the old platform's password library: always refuses.
  add_library(qv_refusing_password MODULE ${QV_WIN_TESTS}/refusing_password.cpp)
  set_target_properties(qv_refusing_password PROPERTIES PREFIX "" OUTPUT_NAME PASSWORD SUFFIX .CPL)

  foreach(t qv_preview_host qv_saver_probe qv_win32_checks qv_refusing_password qv_report_scr
            qv_dpi_change)
    set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                          LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(MINGW)
      target_link_options(${t} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endforeach()
endif()
