// The processor: an ARMv5TE core in user mode (ARM and Thumb state), as an
// XScale PXA27x runs application code. Instructions are decoded once per
// address (emulator/decode.h) into a cache of decoded pages, each entry a
// handler and its operands; the run loop checks the condition by table and
// calls the handler.
#pragma once
#include "emulator/fault.h"
#include "emulator/memory.h"
#include <stdint.h>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

struct Cpu;
struct Insn;
typedef void (*InsnHandler)(Cpu &cpu, const Insn &insn);

// The registers with a role of their own.
enum Register : uint8_t { kSp = 13, kLr = 14, kPc = 15 };
// Condition 14 passes whatever the flags: the run loop skips its check.
enum : uint8_t { kCondAlways = 14 };
// How a register operand is shifted.
enum ShiftType : uint8_t { kLsl, kLsr, kAsr, kRor };
// A load's, store's or block transfer's addressing (its P, U and W bits).
enum Addressing : uint8_t { kPre = 1, kUp = 2, kWriteback = 4 };

// One decoded instruction: the handler the decoder chose and its operands.
// Each field means the same for every handler; what an operation is
// (which ALU operation, which access, whether it sets flags) is the
// handler's own, chosen from the tables of emulator/execute.h. Aligned to a
// power of two (32 bytes on 64-bit hosts, 16 on 32-bit ones), so that a
// shift indexes it.
struct alignas(4 * sizeof(void *)) Insn {
    InsnHandler handler;
    uint8_t cond;           // 0..14; kCondAlways skips the condition check
    uint8_t rd, rn, rm, rs; // register numbers
    uint8_t shift;          // ShiftType of rm
    uint8_t amount;         // rm's shift amount, as encoded (0..31)
    uint8_t addressing;     // Addressing bits of a transfer
    union {
        uint32_t imm;       // an immediate operand or offset, or an absolute address
        uint32_t target;    // where a branch goes
        uint32_t list;      // a block transfer's registers
    };
};
static_assert(sizeof(Insn) == 4 * sizeof(void *), "a decoded entry is a power of two bytes");

enum { kArmPageBits = 12, kArmPageSize = 1 << kArmPageBits };
struct DecodedPage {
    Insn insns[kArmPageSize / 2];   // indexed by halfword in Thumb state, word in ARM state
};

// A host function or a stop at a guest address that holds no code: the
// run reaches it by a jump or a call, as the code reaches an import.
struct Trap {
    StopKind stop;                       // kStopNone: call `function` and return to LR
    std::string name;                    // "COREDLL.dll!malloc" for a report
    std::function<void(Cpu &)> function; // reads r0-r3 and the stack, sets r0
};

enum { kPsrN = 1u << 31, kPsrZ = 1u << 30, kPsrC = 1u << 29, kPsrV = 1u << 28, kPsrQ = 1u << 27,
       kPsrT = 1u << 5, kPsrUserMode = 0x10 };

struct Cpu {
    // r[kPc] holds, while a handler runs, the address of its instruction + 8
    // (ARM) or + 4 (Thumb): what the instruction reads as PC.
    uint32_t r[16] = {};
    uint8_t n = 0, z = 0, c = 0, v = 0, q = 0;
    bool thumb = false;
    uint32_t pc = 0;            // the next instruction's address (between runs)
    uint32_t next = 0;          // set by handlers: the address to go on at
    uint64_t count = 0;         // instructions executed, condition passed or not
    uint64_t limit = ~0ull;     // the run stops when count reaches it
    StopReport stop;
    unsigned runs = 0;          // runs in progress: more than one when a host
                                // function the guest called calls the guest

    Memory memory;
    // The run's stack: an access in the 64 KB below `stack_low` is a stack
    // overflow rather than a bad address.
    uint32_t stack_low = 0, stack_high = 0;
    std::unordered_map<uint32_t, Trap> traps;
    // Where calls of traps are tallied, by trap address, when something
    // counts them (the room's meter); null otherwise.
    std::unordered_map<uint32_t, uint64_t> *trap_calls = nullptr;

    // Executes from `pc` until a stop; returns its kind.
    StopKind Run();
    // CPSR as MRS reads it in user mode.
    uint32_t Cpsr() const
    {
        return (uint32_t)n << 31 | (uint32_t)z << 30 | (uint32_t)c << 29 | (uint32_t)v << 28 |
               (uint32_t)q << 27 | (thumb ? (uint32_t)kPsrT : 0u) | kPsrUserMode;
    }
    // Sets N, Z, C, V and Q from a PSR value (MSR's flags field).
    void SetFlags(uint32_t psr)
    {
        n = (psr >> 31) & 1;
        z = (psr >> 30) & 1;
        c = (psr >> 29) & 1;
        v = (psr >> 28) & 1;
        q = (psr >> 27) & 1;
    }
    // Enters ARM (false) or Thumb (true) state; handlers call it so that the
    // run loop sees the change.
    void SetThumb(bool state)
    {
        if (state != thumb) {
            thumb = state;
            cached_key_ = kNoPage;
        }
    }
    // Forgets decoded instructions (after code was written or loaded again).
    void ForgetCode() { pages_.clear(); cached_key_ = kNoPage; cached_page_ = nullptr; }

    // Ends the run (emulator/fault.cpp): fills the report of a stop at PC
    // (the instruction word there, read when it is mapped, in the current
    // state) and sends the run loop out after the executing handler. Every
    // stop is reported through it.
    void Stop(StopKind kind, uint32_t pc, uint32_t address, const std::string &detail);
    // A stop of the executing instruction.
    void Fault(StopKind kind, uint32_t address, const char *detail);
    // A data access that found no memory: stack overflow or bad address.
    void AccessFault(uint32_t address, const char *what);
    // Address of the executing instruction.
    uint32_t CurrentPc() const { return r[kPc] - (thumb ? 4 : 8); }

private:
    // The decoded page the run loop is in: its key is the page's address |
    // 1 in Thumb state. kNoPage matches no key (keys have bits 1-11 clear).
    enum : uint32_t { kNoPage = 0xFFFFFFFFu };
    DecodedPage *PageFor(uint32_t address);  // slow path of the run loop
    template <bool THUMB> void RunInState(uint32_t &at);

    uint32_t cached_key_ = kNoPage;
    DecodedPage *cached_page_ = nullptr;
    std::unordered_map<uint32_t, std::unique_ptr<DecodedPage>> pages_;
};
