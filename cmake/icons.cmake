# Icons: text pixel maps turned into .ico files by a native tool.
inkleaf_native_tool(ICON_COMPILER tools/icon_compiler.cpp)
set(ICON_MAP_DIR ${CMAKE_SOURCE_DIR}/item/resources/icons CACHE PATH "Icon pixel maps")
file(GLOB ICON_MAPS CONFIGURE_DEPENDS ${ICON_MAP_DIR}/*.txt)
set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(ICON_FILES)
foreach(map ${ICON_MAPS})
    get_filename_component(name ${map} NAME_WE)
    add_custom_command(OUTPUT ${ICON_DIR}/${name}.ico
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ICON_DIR}
        COMMAND ${ICON_COMPILER} ${map} ${ICON_DIR}/${name}.ico
        DEPENDS ${map} ${ICON_COMPILER})
    list(APPEND ICON_FILES ${ICON_DIR}/${name}.ico)
endforeach()
add_custom_target(item_icons DEPENDS ${ICON_FILES})
add_dependencies(item_icons icon_compiler_tool)
set(ITEM_RC ${CMAKE_SOURCE_DIR}/item/resources/item.rc)
set_source_files_properties(${ITEM_RC} PROPERTIES OBJECT_DEPENDS "${ICON_FILES}")

# The editor's program icon 101, one image for each size the device's
# LoadIcon may ask for (16 in lists, 32 at 96 dpi, 64 at 192 dpi), each from
# a pixel map of its own, into EDITOR_ICON; called from the directory whose
# target compiles the editor's resources.
set(EDITOR_ICON_DIR ${CMAKE_BINARY_DIR}/editor/icons)
set(EDITOR_ICON ${EDITOR_ICON_DIR}/inkpad.ico)
set(EDITOR_ICON_MAPS ${CMAKE_SOURCE_DIR}/editor/resources/inkpad_16.txt
    ${CMAKE_SOURCE_DIR}/editor/resources/inkpad_32.txt ${CMAKE_SOURCE_DIR}/editor/resources/inkpad_64.txt)
set(EDITOR_RC ${CMAKE_SOURCE_DIR}/editor/resources/editor.rc)
function(inkleaf_editor_icon)
    add_custom_command(OUTPUT ${EDITOR_ICON}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${EDITOR_ICON_DIR}
        COMMAND ${ICON_COMPILER} ${EDITOR_ICON_MAPS} ${EDITOR_ICON}
        DEPENDS ${EDITOR_ICON_MAPS} ${ICON_COMPILER})
    add_custom_target(editor_icons DEPENDS ${EDITOR_ICON})
    # The icon compiler is built as a step of the item's icons.
    add_dependencies(editor_icons item_icons)
    set_source_files_properties(${EDITOR_RC} PROPERTIES OBJECT_DEPENDS ${EDITOR_ICON})
endfunction()
