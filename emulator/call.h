// Calling a guest function as Windows CE's ARM calling standard does: the
// first four argument words in r0-r3, the rest on the stack, the return
// address in lr, the result in r0 (and r1).
#pragma once
#include "emulator/cpu.h"
#include <vector>

enum : uint32_t {
    kReturnTrap = 0xFFFFFFF0u,       // lr of a call: reaching it ends the run
    kDefaultStackSize = 64 * 1024,   // a device thread's stack
    kPreferredStackTop = 0x7FFF0000u,
};

// Maps the run's stack of SIZE bytes, ending at PREFERRED_TOP where that is
// free; returns the top (0 when no room).
uint32_t SetUpStack(Cpu &cpu, uint32_t size, uint32_t preferred_top = kPreferredStackTop);
// Calls ADDRESS (bit 0 set: in Thumb state) with ARGS, from the top of the
// stack, and runs until it returns or stops.
StopKind CallFunction(Cpu &cpu, uint32_t address, const std::vector<uint32_t> &args);
// Calls ADDRESS with ARGS from inside a host function that running guest
// code called (on the guest's stack, below the running code's frame), or,
// when no run is in progress, from the top of the stack. The running
// code's registers, flags and state are restored when the call returns;
// after a stop they are left as the stop found them, for its report. TOP,
// when not 0, is where the call's stack starts instead: below what the
// caller placed on the guest's stack for it.
StopKind CallNested(Cpu &cpu, uint32_t address, const std::vector<uint32_t> &args, uint32_t top = 0);
// Argument word K of the call a host function is answering: r0-r3, then
// the caller's stack. False when the stack word cannot be read.
bool ArgumentWord(Cpu &cpu, unsigned k, uint32_t &word);
// A trap address not yet used, for a host function or a stop: from
// kGuestLimit up, where nothing is mapped.
uint32_t NewTrapAddress(const Cpu &cpu);
// Parses a number in decimal or 0x hex, as armcall's arguments; false if
// it is not one or does not fit 32 bits.
bool ParseWord(const char *text, uint32_t &value);
