# The native tools of the installation cabinet: the writer of the
# installer's instruction file and the tests' own reader of it; and the
# script that packs a cabinet with them.
# Both read what the cabinet installs (tools/inkleaf_package.h) and the
# item key (common/item_key.h).
set(CAB_TOOL_HEADERS ${CMAKE_SOURCE_DIR}/common/item_key.h ${CMAKE_SOURCE_DIR}/tools/inkleaf_package.h)
inkleaf_native_tool(CAB_SETUP_FILE tools/cab_setup_file.cpp ${CAB_TOOL_HEADERS})
inkleaf_native_tool(CAB_SETUP_READER tests/tools/cab_setup_reader.cpp ${CAB_TOOL_HEADERS})
set(PACK_CAB ${CMAKE_SOURCE_DIR}/tools/pack-cab.sh)
