# The files of the ARM interpreter and PE loader (emulator/) and of their
# tests, named once for every build that compiles them: the Windows builds
# and the native one as a library (cmake/emulator.cmake), the device's build
# with this machine's compiler (cmake/device.cmake).
set(EMULATOR_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(EMULATOR_SOURCES memory fault cpu execute arm_decode thumb_decode call pe_loader backtrace guest_heap)
list(TRANSFORM EMULATOR_SOURCES REPLACE "(.+)" "${EMULATOR_ROOT}/emulator/\\1.cpp")
set(EMULATOR_HEADERS memory fault cpu execute decode decode_table call pe_loader backtrace guest_heap)
list(TRANSFORM EMULATOR_HEADERS REPLACE "(.+)" "${EMULATOR_ROOT}/emulator/\\1.h")
list(APPEND EMULATOR_HEADERS ${EMULATOR_ROOT}/emulator/arm_conditional.inc ${EMULATOR_ROOT}/emulator/thumb.inc)
set(EMULATOR_ARMCALL ${EMULATOR_ROOT}/emulator/armcall.cpp)
set(EMULATOR_TEST_SOURCES arm_code.cpp arm_functions.c arm_peer.c arm_code_test.cpp faults_test.cpp
    pe_loader_test.cpp guest_heap_test.cpp decode_test.cpp test_dll.cpp)
list(TRANSFORM EMULATOR_TEST_SOURCES PREPEND ${EMULATOR_ROOT}/tests/emulator/)
