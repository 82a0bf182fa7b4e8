# The reader of a built program's string tables and icon groups, a native
# tool, for the checks of the built files in every build (the device's
# too): PE_RESOURCES is its path.
set(PE_RESOURCES ${CMAKE_BINARY_DIR}/tools/pe_resources)
add_custom_command(OUTPUT ${PE_RESOURCES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
    COMMAND ${HOST_CXX} -std=c++17 -O2 -o ${PE_RESOURCES} ${CMAKE_SOURCE_DIR}/tools/pe_resources.cpp
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/pe_resources.cpp
    COMMENT "Building the native pe_resources tool")
add_custom_target(pe_resources_tool ALL DEPENDS ${PE_RESOURCES})
