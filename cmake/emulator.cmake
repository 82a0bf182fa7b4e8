# The ARM interpreter and PE loader (emulator/) and their tests, the same
# files in the native sanitizer build and in the Windows builds.
include(${CMAKE_CURRENT_LIST_DIR}/emulator_sources.cmake)
# The test functions are C that compiles as C++ too: the native side of
# the comparison is built with the tests' own compiler.
set_source_files_properties(${EMULATOR_ROOT}/tests/emulator/arm_functions.c
    ${EMULATOR_ROOT}/tests/emulator/arm_peer.c PROPERTIES LANGUAGE CXX)

add_library(emulator STATIC ${EMULATOR_SOURCES})
target_include_directories(emulator PUBLIC ${EMULATOR_ROOT})
add_executable(armcall ${EMULATOR_ARMCALL})
target_link_libraries(armcall PRIVATE emulator)
