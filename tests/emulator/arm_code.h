// The test functions compiled for ARM (tests/emulator/build_arm_code.sh),
// loaded as flat binaries and called in the interpreter.
#pragma once
#include "emulator/call.h"
#include <map>
#include <string>
#include <vector>

enum : uint32_t { kFlatBase = 0x10000 };
extern const char *const kArmVariants[4];   // "arm-O0", "arm-O2", "thumb-O0", "thumb-O2"

// Where the binaries are (INKLEAF_ARM_CODE, else the build's folder); empty
// with a reason when they were not built.
std::string ArmCodeDirectory(std::string &why_not);

struct ArmProgram {
    std::vector<uint8_t> bytes;
    std::map<std::string, uint32_t> symbols;   // bit 0 set for Thumb functions
};
bool LoadArmProgram(const std::string &directory, const std::string &variant, ArmProgram &program);

struct ArmResult {
    StopKind kind;
    uint32_t r0;
    uint64_t count;
    std::string report;
};
// Maps a copy of PROGRAM (its data is written) into CPU, a fresh one, at
// kFlatBase, with a stack of STACK bytes.
void MapArmProgram(Cpu &cpu, const ArmProgram &program, uint32_t stack = kDefaultStackSize);
// Maps PROGRAM into CPU (a fresh one) with a stack of STACK bytes and calls
// its FUNCTION.
StopKind RunArm(Cpu &cpu, const ArmProgram &program, const std::string &function, const std::vector<uint32_t> &args,
                uint32_t stack = kDefaultStackSize);
// Calls FUNCTION of PROGRAM in a fresh processor with a stack of STACK bytes.
ArmResult CallArm(const ArmProgram &program, const std::string &function, const std::vector<uint32_t> &args,
                  uint32_t stack = kDefaultStackSize);
