# The Linux desktop shell: SDL2 windows and GL contexts, Dear ImGui controls,
# the settings file, and the XScreenSaver conventions.

# The settings file store is kept apart so its tests need no display.
add_library(quorvelian_file_store STATIC store/file_store_posix.cpp)
target_link_libraries(quorvelian_file_store PUBLIC quorvelian_core)
