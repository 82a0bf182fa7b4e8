// The handlers that are not templates: DSP multiplies, saturation, status
// registers, block transfers, swaps, branches and the stops.
#include "emulator/execute.h"

const ConditionTable kConditions;

void SignedMultiplyHalves(Cpu &c, const Insn &i)
{
    int32_t product = Half(c.r[i.rm], i.bits & 1) * Half(c.r[i.rs], i.bits & 2);
    c.r[i.rd] = (i.bits & 4) ? AddSettingQ(c, product, (int32_t)c.r[i.rn]) : (uint32_t)product;
}

void SignedMultiplyWordHalf(Cpu &c, const Insn &i)
{
    int64_t product = (int64_t)(int32_t)c.r[i.rm] * Half(c.r[i.rs], i.bits & 2);
    int32_t high = (int32_t)(product >> 16);
    c.r[i.rd] = (i.bits & 4) ? AddSettingQ(c, high, (int32_t)c.r[i.rn]) : (uint32_t)high;
}

void SignedMultiplyHalvesLong(Cpu &c, const Insn &i)
{
    int64_t product = (int64_t)Half(c.r[i.rm], i.bits & 1) * Half(c.r[i.rs], i.bits & 2);
    uint64_t sum = ((uint64_t)c.r[i.rd] << 32 | c.r[i.rn]) + (uint64_t)product;
    c.r[i.rn] = (uint32_t)sum;
    c.r[i.rd] = (uint32_t)(sum >> 32);
}

void SaturatingArithmetic(Cpu &c, const Insn &i)
{
    int64_t operand = (int32_t)c.r[i.rn];
    if (i.amount & 2)
        operand = Saturate(c, operand * 2);
    int64_t value = (int64_t)(int32_t)c.r[i.rm] + ((i.amount & 1) ? -operand : operand);
    c.r[i.rd] = (uint32_t)Saturate(c, value);
}

void CountLeadingZeros(Cpu &c, const Insn &i)
{
    uint32_t value = c.r[i.rm];
    c.r[i.rd] = value ? (uint32_t)__builtin_clz(value) : 32;
}

void ReadStatus(Cpu &c, const Insn &i) { c.r[i.rd] = c.Cpsr(); }

// The addresses of a block transfer of COUNT words: the lowest, and the
// base register's value after it.
static void BlockAddresses(const Cpu &c, const Insn &i, uint32_t count, uint32_t &lowest, uint32_t &after)
{
    uint32_t base = c.r[i.rn];
    if (i.bits & kUp) {
        lowest = (i.bits & kPre) ? base + 4 : base;
        after = base + 4 * count;
    } else {
        lowest = base - 4 * count + ((i.bits & kPre) ? 0 : 4);
        after = base - 4 * count;
    }
}

void LoadMultiple(Cpu &c, const Insn &i)
{
    uint32_t list = i.imm, count = (uint32_t)__builtin_popcount(list), lowest, after;
    BlockAddresses(c, i, count, lowest, after);
    if (!Aligned(c, lowest, 4, "multiple-word read"))
        return;
    uint32_t values[16];
    const uint8_t *p = c.memory.Read(lowest, 4 * count);
    for (uint32_t k = 0; k < count; k++) {
        const uint8_t *word = p ? p + 4 * k : c.memory.Read(lowest + 4 * k, 4);
        if (!word) { c.AccessFault(lowest + 4 * k, "multiple-word read"); return; }
        memcpy(&values[k], word, 4);
    }
    if (i.bits & kWriteback)
        c.r[i.rn] = after;
    uint32_t k = 0;
    for (unsigned reg = 0; reg < 15; reg++)
        if (list & (1u << reg))
            c.r[reg] = values[k++];
    if (list & 0x8000)
        InterworkPc(c, values[k]);
}

void StoreMultiple(Cpu &c, const Insn &i)
{
    uint32_t list = i.imm, count = (uint32_t)__builtin_popcount(list), lowest, after;
    BlockAddresses(c, i, count, lowest, after);
    if (!Aligned(c, lowest, 4, "multiple-word write"))
        return;
    uint8_t *p = c.memory.Write(lowest, 4 * count);
    if (!p) {
        for (uint32_t k = 0; k < count; k++)
            if (!c.memory.Write(lowest + 4 * k, 4)) { c.AccessFault(lowest + 4 * k, "multiple-word write"); return; }
    }
    uint32_t k = 0;
    for (unsigned reg = 0; reg < 16; reg++) {
        if (list & (1u << reg)) {
            uint8_t *word = p ? p + 4 * k : c.memory.Write(lowest + 4 * k, 4);
            memcpy(word, &c.r[reg], 4);
            k++;
        }
    }
    if (i.bits & kWriteback)
        c.r[i.rn] = after;
}

void Swap(Cpu &c, const Insn &i)
{
    uint32_t address = c.r[i.rn], size = i.amount ? 1 : 4;
    const char *what = size == 1 ? "byte swap" : "word swap";
    if (!Aligned(c, address, size, what))
        return;
    uint8_t *p = c.memory.Write(address, size);
    if (!p) { c.AccessFault(address, what); return; }
    uint32_t old = 0, value = c.r[i.rm];
    if (size == 1) {
        old = p[0];
        p[0] = (uint8_t)value;
    } else {
        memcpy(&old, p, 4);
        memcpy(p, &value, 4);
    }
    c.r[i.rd] = old;
}

void Branch(Cpu &c, const Insn &i) { c.next = i.imm; }

void BranchLink(Cpu &c, const Insn &i)
{
    c.r[14] = c.next;
    c.next = i.imm;
}

void BranchLinkExchangeImmediate(Cpu &c, const Insn &i)
{
    c.r[14] = c.next;
    c.SetThumb(true);
    c.next = i.imm;
}

void BranchExchange(Cpu &c, const Insn &i) { InterworkPc(c, c.r[i.rm]); }

void BranchLinkExchange(Cpu &c, const Insn &i)
{
    uint32_t target = c.r[i.rm];
    c.r[14] = c.next | (c.thumb ? 1 : 0);
    InterworkPc(c, target);
}

void ThumbBranchLinkPrefix(Cpu &c, const Insn &i) { c.r[14] = c.r[15] + i.imm; }

void ThumbBranchLinkSuffix(Cpu &c, const Insn &i)
{
    uint32_t target = c.r[14] + i.imm;
    c.r[14] = c.next | 1;
    c.next = target & ~1u;
}

void ThumbBranchLinkExchangeSuffix(Cpu &c, const Insn &i)
{
    uint32_t target = (c.r[14] + i.imm) & ~3u;
    c.r[14] = c.next | 1;
    c.SetThumb(false);
    c.next = target;
}

void Nothing(Cpu &, const Insn &) {}
void Undefined(Cpu &c, const Insn &) { c.Fault(kStopUndefined, c.CurrentPc(), nullptr); }
void Coprocessor(Cpu &c, const Insn &) { c.Fault(kStopCoprocessor, c.CurrentPc(), "no coprocessor"); }
void SoftwareInterrupt(Cpu &c, const Insn &) { c.Fault(kStopSoftwareInterrupt, c.CurrentPc(), "SWI"); }
void Breakpoint(Cpu &c, const Insn &) { c.Fault(kStopBreakpoint, c.CurrentPc(), "BKPT"); }
