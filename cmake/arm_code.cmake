# The interpreter's test functions as ARM code (tests/emulator/build_arm_code.sh),
# into ARM_CODE_DIR, where Debian's arm-linux-gnueabi-gcc is installed: the
# target arm_code. Without that compiler there is no target, and the tests
# that need the code say so and skip.
find_program(ARM_LINUX_CC arm-linux-gnueabi-gcc)
if(ARM_LINUX_CC)
    set(ARM_CODE_SOURCES ${EMULATOR_ROOT}/tests/emulator/arm_functions.c ${EMULATOR_ROOT}/tests/emulator/arm_peer.c
        ${EMULATOR_ROOT}/tests/emulator/arm_functions.h ${EMULATOR_ROOT}/tests/emulator/flat.ld ${EMULATOR_ROOT}/tests/emulator/build_arm_code.sh
        ${EMULATOR_ROOT}/tests/emulator/qemu_harness.c)
    add_custom_command(OUTPUT ${ARM_CODE_DIR}/arm-O2.bin ${ARM_CODE_DIR}/qemu_harness.elf
        COMMAND ${EMULATOR_ROOT}/tests/emulator/build_arm_code.sh ${EMULATOR_ROOT}/tests/emulator ${ARM_CODE_DIR}
        DEPENDS ${ARM_CODE_SOURCES}
        COMMENT "Compiling the interpreter's test functions for ARM and Thumb")
    add_custom_target(arm_code ALL DEPENDS ${ARM_CODE_DIR}/arm-O2.bin)
endif()
