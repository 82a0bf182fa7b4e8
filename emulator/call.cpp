// Stacks, calls and trap addresses.
#include "emulator/call.h"
#include <errno.h>
#include <stdlib.h>
#include <string.h>

uint32_t SetUpStack(Cpu &cpu, uint32_t size, uint32_t preferred_top)
{
    size = (size + 7) & ~7u;
    uint32_t low = preferred_top - size;
    if (size == 0 || size > preferred_top || !cpu.memory.IsFree(low, size)) {
        low = cpu.memory.FindFree(0x10000000u, size + 0x20000u, 0x10000u);
        if (low == 0)
            return 0;
        low += 0x10000u;   // leave the 64 KB below it unmapped, as a guard
    }
    if (!cpu.memory.MapOwned(low, size, true))
        return 0;
    cpu.stack_low = low;
    cpu.stack_high = low + size;
    return cpu.stack_high;
}

StopKind CallFunction(Cpu &cpu, uint32_t address, const std::vector<uint32_t> &args)
{
    if (cpu.traps.find(kReturnTrap) == cpu.traps.end())
        cpu.traps[kReturnTrap] = Trap{kStopReturned, "return to the caller", nullptr};
    uint32_t sp = cpu.stack_high;
    size_t on_stack = args.size() > 4 ? args.size() - 4 : 0;
    sp = (sp - 4 * (uint32_t)on_stack) & ~7u;   // 8-byte aligned at the call
    for (size_t k = 0; k < on_stack; k++) {
        uint8_t *slot = cpu.memory.Write(sp + 4 * (uint32_t)k, 4);
        if (!slot) {
            cpu.stop = StopReport();
            cpu.stop.kind = kStopStackOverflow;
            cpu.stop.address = sp;
            cpu.stop.detail = "arguments do not fit the stack";
            return cpu.stop.kind;
        }
        memcpy(slot, &args[4 + k], 4);
    }
    for (size_t k = 0; k < 4; k++)
        cpu.r[k] = k < args.size() ? args[k] : 0;
    cpu.r[13] = sp;
    cpu.r[14] = kReturnTrap;
    cpu.thumb = address & 1;
    cpu.pc = address & ~1u;
    return cpu.Run();
}

uint32_t NewTrapAddress(const Cpu &cpu)
{
    uint32_t address = kTrapArea;
    while (cpu.traps.count(address))
        address += 4;
    return address;
}

bool ParseWord(const char *text, uint32_t &value)
{
    if (!text || !*text || *text == '-' || *text == '+' || *text == ' ')
        return false;
    char *end = nullptr;
    errno = 0;
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex && !text[2])
        return false;
    unsigned long long parsed = strtoull(text, &end, hex ? 16 : 10);
    if (errno || *end || parsed > 0xFFFFFFFFull)
        return false;
    value = (uint32_t)parsed;
    return true;
}
