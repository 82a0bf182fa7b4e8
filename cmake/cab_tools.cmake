# The native tools of the installation cabinet: the writer of the
# installer's instruction file and the tests' own reader of it; and the
# script that packs a cabinet with them.
inkleaf_native_tool(CAB_SETUP_FILE tools/cab_setup_file.cpp)
inkleaf_native_tool(CAB_SETUP_READER tests/tools/cab_setup_reader.cpp)
set(PACK_CAB ${CMAKE_SOURCE_DIR}/tools/pack-cab.sh)
