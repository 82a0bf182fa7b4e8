# The device's build: inkleaf_item.dll and inkpad_app.exe for Windows
# Mobile 5.0 on ARM, from the shipped code alone, linked against the
# device's COREDLL (and AYGSHELL for the editor) and nothing of the
# platform stand-ins: platform/device.h gives the device's own headers
# there, with the few declarations they lack.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(UNDER_CE _WIN32_WCE=0x501 UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
# No exceptions and no run-time types: nothing of the C++ runtime is needed,
# and the compiler's support library is linked in, since the device has no
# DLL of it.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>
                    -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
# What faults on the device stops the build: Windows CE on ARM raises a
# datatype-misalignment exception for a word or halfword read from an
# address that is not a multiple of its size (a cast to a type of stricter
# alignment can make one), and a thread's stack is small, so no function
# may take more than 4 KB of it.
add_compile_options(-Wcast-align -Werror=cast-align
                    -Wframe-larger-than=4096 -Werror=frame-larger-than=4096)
# Windows CE GUI images (the toolchain's own subsystem) for the device's OS
# version: Windows Mobile 5.0 is Windows CE 5.01, and its SDK links with
# /SUBSYSTEM:WINDOWSCE,5.01. Only the version is set, so that each image
# keeps the entry point of its kind.
add_link_options(-static-libgcc -s
                 -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1)

set(INITIALIZE_SYMBOL InitializeCustomItem)
configure_file(${CMAKE_SOURCE_DIR}/item/inkleaf_item.def.in ${CMAKE_BINARY_DIR}/inkleaf_item.def @ONLY)
add_library(inkleaf_item SHARED ${ITEM_ENTRY} ${ITEM_SOURCES} ${ITEM_RC}
            ${CMAKE_BINARY_DIR}/inkleaf_item.def)
set_target_properties(inkleaf_item PROPERTIES PREFIX "")
target_include_directories(inkleaf_item PRIVATE ${CMAKE_SOURCE_DIR} ${ICON_DIR})
target_link_libraries(inkleaf_item PRIVATE coredll)
# The link map tells which DllMain the DLL's entry calls (tests/device/);
# beside the DLL, it names the item's functions in the ARM room's reports.
set(ITEM_LINK_MAP ${CMAKE_BINARY_DIR}/bin/inkleaf_item.map)
target_link_options(inkleaf_item PRIVATE -Wl,-Map=${ITEM_LINK_MAP})
add_dependencies(inkleaf_item item_icons)

inkleaf_editor_icon()
add_executable(inkpad_app ${EDITOR_ENTRY} ${EDITOR_SOURCES} ${EDITOR_RC})
target_include_directories(inkpad_app PRIVATE ${CMAKE_SOURCE_DIR} ${EDITOR_ICON_DIR})
target_link_libraries(inkpad_app PRIVATE aygshell coredll)
# A device program's main thread reserves 64 KB of stack, not the 2 MB the
# toolchain would give it.
target_link_options(inkpad_app PRIVATE -Wl,--stack,65536 -Wl,-Map=${CMAKE_BINARY_DIR}/bin/inkpad_app.map)
add_dependencies(inkpad_app editor_icons)

inkleaf_device_dialect(inkleaf_item inkpad_app)

# The ARM room's 32-bit layouts of the structures that cross between the
# device's code and the host (armroom/layouts32.h), checked while compiling
# against the device's own headers: a layout that differs stops the build.
add_library(layouts32_check OBJECT ${CMAKE_SOURCE_DIR}/tests/device/layouts32_check.cpp)
target_include_directories(layouts32_check PRIVATE ${CMAKE_SOURCE_DIR})
inkleaf_device_dialect(layouts32_check)

# The two files checked as a Pocket PC takes them (tests/device/).
enable_testing()
add_test(NAME arm_files
    COMMAND ${CMAKE_SOURCE_DIR}/tests/device/arm_files_test.sh
            $<TARGET_FILE:inkleaf_item> $<TARGET_FILE:inkpad_app>
            ${ITEM_LINK_MAP} $<TARGET_OBJECTS:inkleaf_item>)
set_tests_properties(arm_files PROPERTIES TIMEOUT 60
    ENVIRONMENT "OBJDUMP=${INKLEAF_CEGCC}/bin/arm-mingw32ce-objdump;NM=${INKLEAF_CEGCC}/bin/arm-mingw32ce-nm;PE_RESOURCES=${PE_RESOURCES};INKLEAF_SOURCE=${CMAKE_SOURCE_DIR}")

# The installation cabinet of the two, read back as the desktop builds'
# tests read theirs.
include(${CMAKE_SOURCE_DIR}/cmake/cab_tools.cmake)
add_test(NAME arm_cabinet
    COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/cab_package_test.sh ${PACK_CAB} ${CAB_SETUP_FILE}
            ${CAB_SETUP_READER} $<TARGET_FILE:inkleaf_item> $<TARGET_FILE:inkpad_app>
            ${CMAKE_BINARY_DIR}/tests/arm_cabinet)
set_tests_properties(arm_cabinet PROPERTIES TIMEOUT 120)

# The item run in the project's ARM interpreter: armcall, built for this
# machine, maps it (at its image base, and relocated elsewhere) and calls
# ordinal 240, which runs until its first import, one nothing binds yet.
include(${CMAKE_SOURCE_DIR}/cmake/emulator_sources.cmake)
set(HOST_ARMCALL ${CMAKE_BINARY_DIR}/tools/armcall)
add_custom_command(OUTPUT ${HOST_ARMCALL}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
    COMMAND ${HOST_CXX} -std=c++17 -O2 -I${CMAKE_SOURCE_DIR} -o ${HOST_ARMCALL} ${EMULATOR_ARMCALL} ${EMULATOR_SOURCES}
    DEPENDS ${EMULATOR_ARMCALL} ${EMULATOR_SOURCES} ${EMULATOR_HEADERS}
    COMMENT "Building armcall for this machine")
add_custom_target(host_armcall ALL DEPENDS ${HOST_ARMCALL})
add_test(NAME arm_item_in_interpreter
    COMMAND ${CMAKE_SOURCE_DIR}/tests/device/arm_item_call_test.sh ${HOST_ARMCALL} $<TARGET_FILE:inkleaf_item>
            ${ITEM_LINK_MAP})
set_tests_properties(arm_item_in_interpreter PROPERTIES TIMEOUT 60)

# Two items that fault in the interpreter, built as the item is, each with
# its link map beside it: one reads a word at an odd address, the other
# calls a COREDLL function Inkleaf does not import. armcall's report of each
# must name the fault and the chain of calls (tests/device/).
set(FAULTY_ITEMS_DIR ${CMAKE_BINARY_DIR}/faulty_items)
foreach(faulty unaligned_item foreign_import_item)
    add_library(${faulty} SHARED ${CMAKE_SOURCE_DIR}/tests/device/faulty_items/${faulty}.cpp
                ${CMAKE_SOURCE_DIR}/tests/device/faulty_items/faulty_item.def)
    set_target_properties(${faulty} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${FAULTY_ITEMS_DIR})
    target_link_libraries(${faulty} PRIVATE coredll)
    target_link_options(${faulty} PRIVATE -Wl,-Map=${FAULTY_ITEMS_DIR}/${faulty}.map)
endforeach()
add_test(NAME faulty_items_in_interpreter
    COMMAND ${CMAKE_SOURCE_DIR}/tests/device/faulty_items_test.sh ${HOST_ARMCALL} ${FAULTY_ITEMS_DIR}
            $<TARGET_FILE:inkleaf_item> $<TARGET_FILE:inkpad_app>)
set_tests_properties(faulty_items_in_interpreter PROPERTIES TIMEOUT 60
    ENVIRONMENT "OBJDUMP=${INKLEAF_CEGCC}/bin/arm-mingw32ce-objdump")

# A program of this machine's made from SOURCE, the interpreter (without
# armcall's main) and DEPENDS, into tools/NAME; HOST_<NAME> holds its path.
function(inkleaf_interpreter_tool name source)
    string(TOUPPER ${name} upper)
    set(tool ${CMAKE_BINARY_DIR}/tools/${name})
    add_custom_command(OUTPUT ${tool}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
        COMMAND ${HOST_CXX} -std=c++17 -O2 -I${CMAKE_SOURCE_DIR} -o ${tool} ${source} ${EMULATOR_SOURCES}
        DEPENDS ${source} ${ARGN} ${EMULATOR_SOURCES} ${EMULATOR_HEADERS}
        COMMENT "Building ${name} for this machine")
    add_custom_target(host_${name} ALL DEPENDS ${tool})
    set(HOST_${upper} ${tool} PARENT_SCOPE)
endfunction()

# The ARM room's table of bindings against what the device's files import and
# what the platform's list allows them to call (armroom/import_check.cpp).
inkleaf_interpreter_tool(import_check ${CMAKE_SOURCE_DIR}/armroom/import_check.cpp
                         ${CMAKE_SOURCE_DIR}/armroom/arm_imports.h)
# The item that faults by its read imports what CeGCC's runtime brings
# (DisableThreadLibraryCalls, the debug report's calls): the room binds
# those too. The one that faults by an unbound import is left out.
add_test(NAME arm_bindings
    COMMAND ${HOST_IMPORT_CHECK} ${CMAKE_SOURCE_DIR}/platform/device_functions.txt
            $<TARGET_FILE:inkleaf_item> $<TARGET_FILE:inkpad_app> $<TARGET_FILE:unaligned_item>)
set_tests_properties(arm_bindings PROPERTIES TIMEOUT 60)

# The device's pixel work in ARM instructions, for ./inkleaf bench
# (bench/device_pixels.cpp): run on the device's item with its link map.
inkleaf_interpreter_tool(device_pixels ${CMAKE_SOURCE_DIR}/bench/device_pixels.cpp
                         ${CMAKE_SOURCE_DIR}/bench/bench_shapes.h)
