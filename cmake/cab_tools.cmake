# The native tools of the installation cabinet: the writer of the
# installer's instruction file and the tests' own reader of it; and the
# script that packs a cabinet with them.
set(CAB_SETUP_FILE ${CMAKE_BINARY_DIR}/tools/cab_setup_file)
set(CAB_SETUP_READER ${CMAKE_BINARY_DIR}/tools/cab_setup_reader)
foreach(source tools/cab_setup_file.cpp tests/tools/cab_setup_reader.cpp)
    get_filename_component(name ${source} NAME_WE)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/tools/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
        COMMAND ${HOST_CXX} -std=c++17 -O2 -o ${CMAKE_BINARY_DIR}/tools/${name} ${CMAKE_SOURCE_DIR}/${source}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source} ${CMAKE_SOURCE_DIR}/common/item_key.h
                ${CMAKE_SOURCE_DIR}/tools/inkleaf_package.h
        COMMENT "Building the native ${name} tool")
endforeach()
add_custom_target(cab_tools ALL DEPENDS ${CAB_SETUP_FILE} ${CAB_SETUP_READER})
set(PACK_CAB ${CMAKE_SOURCE_DIR}/tools/pack-cab.sh)
