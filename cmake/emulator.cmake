# The ARM interpreter and PE loader (emulator/) and their tests, the same
# files in the native sanitizer build and in the Windows builds.
set(EMULATOR_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(EMULATOR_SOURCES
    ${EMULATOR_ROOT}/emulator/memory.cpp ${EMULATOR_ROOT}/emulator/fault.cpp
    ${EMULATOR_ROOT}/emulator/cpu.cpp ${EMULATOR_ROOT}/emulator/execute.cpp
    ${EMULATOR_ROOT}/emulator/arm_decode.cpp ${EMULATOR_ROOT}/emulator/thumb_decode.cpp
    ${EMULATOR_ROOT}/emulator/call.cpp ${EMULATOR_ROOT}/emulator/pe_loader.cpp
    ${EMULATOR_ROOT}/emulator/backtrace.cpp ${EMULATOR_ROOT}/emulator/guest_heap.cpp)
set(EMULATOR_TEST_SOURCES
    ${EMULATOR_ROOT}/tests/emulator/arm_code.cpp
    ${EMULATOR_ROOT}/tests/emulator/arm_functions.c
    ${EMULATOR_ROOT}/tests/emulator/arm_peer.c
    ${EMULATOR_ROOT}/tests/emulator/arm_code_test.cpp
    ${EMULATOR_ROOT}/tests/emulator/faults_test.cpp
    ${EMULATOR_ROOT}/tests/emulator/pe_loader_test.cpp
    ${EMULATOR_ROOT}/tests/emulator/guest_heap_test.cpp
    ${EMULATOR_ROOT}/tests/emulator/test_dll.cpp)
# The test functions are C that compiles as C++ too: the native side of
# the comparison is built with the tests' own compiler.
set_source_files_properties(${EMULATOR_ROOT}/tests/emulator/arm_functions.c
    ${EMULATOR_ROOT}/tests/emulator/arm_peer.c PROPERTIES LANGUAGE CXX)

add_library(emulator STATIC ${EMULATOR_SOURCES})
target_include_directories(emulator PUBLIC ${EMULATOR_ROOT})
add_executable(armcall ${EMULATOR_ROOT}/emulator/armcall.cpp)
target_link_libraries(armcall PRIVATE emulator)
