# The sources of the two programs, shared by the desktop builds (where each
# program's code is also a library the tests link) and the device's build.
set(COMMON_SOURCES
    ${CMAKE_SOURCE_DIR}/common/item_registry.cpp
    ${CMAKE_SOURCE_DIR}/common/registry_text.cpp)
set(ITEM_SOURCES ${COMMON_SOURCES}
    ${CMAKE_SOURCE_DIR}/item/bmp_file.cpp
    ${CMAKE_SOURCE_DIR}/item/board_file.cpp
    ${CMAKE_SOURCE_DIR}/item/board_file_io.cpp
    ${CMAKE_SOURCE_DIR}/item/board_format.cpp
    ${CMAKE_SOURCE_DIR}/item/board_keep.cpp
    ${CMAKE_SOURCE_DIR}/item/board_pixels.cpp
    ${CMAKE_SOURCE_DIR}/item/board_primitives.cpp
    ${CMAKE_SOURCE_DIR}/item/commands.cpp
    ${CMAKE_SOURCE_DIR}/item/install_folders.cpp
    ${CMAKE_SOURCE_DIR}/item/item_layout.cpp
    ${CMAKE_SOURCE_DIR}/item/item_window.cpp
    ${CMAKE_SOURCE_DIR}/item/library.cpp
    ${CMAKE_SOURCE_DIR}/item/menus.cpp
    ${CMAKE_SOURCE_DIR}/item/paint.cpp
    ${CMAKE_SOURCE_DIR}/item/page_paste.cpp
    ${CMAKE_SOURCE_DIR}/item/pen_input.cpp
    ${CMAKE_SOURCE_DIR}/item/scaling.cpp
    ${CMAKE_SOURCE_DIR}/item/settings_store.cpp
    ${CMAKE_SOURCE_DIR}/item/stamp_shapes.cpp
    ${CMAKE_SOURCE_DIR}/item/stamps.cpp
    ${CMAKE_SOURCE_DIR}/item/stroke_replay.cpp)
set(ITEM_ENTRY ${CMAKE_SOURCE_DIR}/item/dll_main.cpp)
set(EDITOR_SOURCES ${COMMON_SOURCES}
    ${CMAKE_SOURCE_DIR}/editor/app_start.cpp
    ${CMAKE_SOURCE_DIR}/editor/command_line.cpp
    ${CMAKE_SOURCE_DIR}/editor/dialog_template.cpp
    ${CMAKE_SOURCE_DIR}/editor/dialogs.cpp
    ${CMAKE_SOURCE_DIR}/editor/editor_state.cpp
    ${CMAKE_SOURCE_DIR}/editor/main_window.cpp
    ${CMAKE_SOURCE_DIR}/editor/page_exchange.cpp
    ${CMAKE_SOURCE_DIR}/editor/relayout.cpp)
set(EDITOR_ENTRY ${CMAKE_SOURCE_DIR}/editor/win_main.cpp)
