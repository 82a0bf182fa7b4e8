# Tools of the build that run on the build machine, in every build (the
# device's too): inkleaf_native_tool(VARIABLE SOURCE [DEPENDS...]) builds
# SOURCE (relative to the tree) with the host's compiler into
# tools/<name>, sets VARIABLE to its path and adds the target <name>_tool.
find_program(HOST_CXX NAMES g++ c++ REQUIRED)
function(inkleaf_native_tool variable source)
    get_filename_component(name ${source} NAME_WE)
    set(tool ${CMAKE_BINARY_DIR}/tools/${name})
    add_custom_command(OUTPUT ${tool}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
        COMMAND ${HOST_CXX} -std=c++17 -O2 -o ${tool} ${CMAKE_SOURCE_DIR}/${source}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source} ${ARGN}
        COMMENT "Building the native ${name} tool")
    add_custom_target(${name}_tool ALL DEPENDS ${tool})
    set(${variable} ${tool} PARENT_SCOPE)
endfunction()

# The reader of a built program's string tables and icon groups, for the
# checks of the built files.
inkleaf_native_tool(PE_RESOURCES tools/pe_resources.cpp)

# The comparison of two runs' result folders, file by file and pixel by
# pixel (`./inkleaf demo --arm`, the ARM run of `./inkleaf test`).
inkleaf_native_tool(COMPARE_RUNS tools/compare_runs.cpp)

# The device's cost table and its checks, from the room's meter
# (`./inkleaf bench device`, the ARM run of `./inkleaf test`).
inkleaf_native_tool(DEVICE_COSTS tools/device_costs.cpp)
