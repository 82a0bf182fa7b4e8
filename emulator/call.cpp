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

// Places ARGS as the calling standard wants them, from stack top TOP, and
// runs ADDRESS until it returns to the return trap or stops.
static StopKind CallFrom(Cpu &cpu, uint32_t top, uint32_t address, const std::vector<uint32_t> &args)
{
    if (cpu.traps.find(kReturnTrap) == cpu.traps.end())
        cpu.traps[kReturnTrap] = Trap{kStopReturned, "return to the caller", nullptr};
    size_t on_stack = args.size() > 4 ? args.size() - 4 : 0;
    uint32_t sp = (top - 4 * (uint32_t)on_stack) & ~7u;   // 8-byte aligned at the call
    for (size_t k = 0; k < on_stack; k++) {
        uint8_t *slot = cpu.memory.Write(sp + 4 * (uint32_t)k, 4);
        if (!slot) {
            cpu.Stop(kStopStackOverflow, 0, sp, "arguments do not fit the stack");
            return cpu.stop.kind;
        }
        memcpy(slot, &args[4 + k], 4);
    }
    for (size_t k = 0; k < 4; k++)
        cpu.r[k] = k < args.size() ? args[k] : 0;
    cpu.r[kSp] = sp;
    cpu.r[kLr] = kReturnTrap;
    cpu.thumb = address & 1;
    cpu.pc = address & ~1u;
    return cpu.Run();
}

StopKind CallFunction(Cpu &cpu, uint32_t address, const std::vector<uint32_t> &args)
{
    return CallFrom(cpu, cpu.stack_high, address, args);
}

StopKind CallNested(Cpu &cpu, uint32_t address, const std::vector<uint32_t> &args, uint32_t top)
{
    if (cpu.runs == 0)
        return CallFrom(cpu, top ? top : cpu.stack_high, address, args);
    uint32_t r[16];
    memcpy(r, cpu.r, sizeof r);
    uint32_t psr = cpu.Cpsr(), pc = cpu.pc, next = cpu.next;
    bool thumb = cpu.thumb;
    StopReport stop = cpu.stop;
    StopKind kind = CallFrom(cpu, top ? top : cpu.r[kSp], address, args);
    if (kind != kStopReturned)
        return kind;
    uint32_t result = cpu.r[0];
    memcpy(cpu.r, r, sizeof r);
    cpu.r[0] = result;   // where the host function reads it; it sets r0 itself
    cpu.SetFlags(psr);
    cpu.SetThumb(thumb);
    cpu.pc = pc;
    cpu.next = next;
    cpu.stop = stop;
    return kind;
}

bool ArgumentWord(Cpu &cpu, unsigned k, uint32_t &word)
{
    if (k < 4) {
        word = cpu.r[k];
        return true;
    }
    const uint8_t *p = cpu.memory.Read(cpu.r[kSp] + 4 * (k - 4), 4);
    if (!p)
        return false;
    memcpy(&word, p, 4);
    return true;
}

uint32_t NewTrapAddress(const Cpu &cpu)
{
    uint32_t address = kGuestLimit;
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
