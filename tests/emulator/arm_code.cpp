// Loading and calling the compiled test functions.
#include "arm_code.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <fstream>
#include <iterator>
#include <sstream>

const char *const kArmVariants[4] = {"arm-O0", "arm-O2", "thumb-O0", "thumb-O2"};

// A path of the build machine as this program opens it (under wine, on Z:).
static std::string HostPath(const std::string &path)
{
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        return "Z:" + path;
#endif
    return path;
}

// The build's folder of the binaries; a program that is told where they are
// (the benchmark) names none.
#ifndef INKLEAF_ARM_CODE_DIR
#define INKLEAF_ARM_CODE_DIR ""
#endif

std::string ArmCodeDirectory(std::string &why_not)
{
    const char *env = getenv("INKLEAF_ARM_CODE");
    std::string directory = env && *env ? env : INKLEAF_ARM_CODE_DIR;
    std::ifstream probe(HostPath(directory + "/arm-O2.bin"), std::ios::binary);
    if (!probe) {
        why_not = "no ARM test code in " + directory + " (arm-linux-gnueabi-gcc not installed?)";
        return "";
    }
    return directory;
}

bool LoadArmProgram(const std::string &directory, const std::string &variant, ArmProgram &program)
{
    std::ifstream bin(HostPath(directory + "/" + variant + ".bin"), std::ios::binary);
    std::ifstream sym(HostPath(directory + "/" + variant + ".sym"));
    if (!bin || !sym)
        return false;
    program.bytes.assign(std::istreambuf_iterator<char>(bin), std::istreambuf_iterator<char>());
    std::string line;
    while (std::getline(sym, line)) {
        std::istringstream fields(line);
        std::string value, name;
        if (fields >> value >> name)
            program.symbols[name] = (uint32_t)strtoul(value.c_str(), nullptr, 16);
    }
    return !program.bytes.empty();
}

void MapArmProgram(Cpu &cpu, const ArmProgram &program, uint32_t stack)
{
    uint8_t *bytes = cpu.memory.MapOwned(kFlatBase, (uint32_t)program.bytes.size(), true);
    if (bytes)
        memcpy(bytes, program.bytes.data(), program.bytes.size());
    SetUpStack(cpu, stack);
}

StopKind RunArm(Cpu &cpu, const ArmProgram &program, const std::string &function, const std::vector<uint32_t> &args,
                uint32_t stack)
{
    MapArmProgram(cpu, program, stack);
    auto symbol = program.symbols.find(function);
    uint32_t address = symbol == program.symbols.end() ? 0 : symbol->second;
    return CallFunction(cpu, address, args);
}

ArmResult CallArm(const ArmProgram &program, const std::string &function, const std::vector<uint32_t> &args, uint32_t stack)
{
    Cpu cpu;
    StopKind kind = RunArm(cpu, program, function, args, stack);
    return ArmResult{kind, cpu.r[0], cpu.count, FormatStopReport(cpu.stop)};
}
