// The differential check: generated instruction sequences (ARM, and Thumb
// in every fourth case) run by qemu-arm
// (-cpu pxa270, the device's processor) in qemu_harness.elf and by the
// interpreter must leave the same registers, flags and buffer.
//   arm_vs_qemu HARNESS [SEED [CASES [LENGTH]]]
// Prints the seed first, so that a failure can be replayed; exits 77 where
// qemu-arm or the harness is missing.
#include "emulator/call.h"
#include "instruction_generator.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

struct Outcome {
    uint32_t r[13];
    uint32_t cpsr;
    uint8_t buffer[kSequenceBuffer];
    uint32_t buffer_address;
    StopKind stop;
};

// The interpreter's run of C, with its buffer where the harness had its own.
Outcome Interpret(const SequenceCase &c, uint32_t buffer_address)
{
    Outcome out;
    Cpu cpu;
    std::vector<uint32_t> code = c.code;
    code.push_back(0xE51FF004u);   // ldr pc, [pc, #-4]
    code.push_back(kReturnTrap);
    cpu.memory.Map(0x8000, 4 * (uint32_t)code.size(), (uint8_t *)code.data(), false);
    memcpy(out.buffer, c.buffer, kSequenceBuffer);
    cpu.memory.Map(buffer_address, kSequenceBuffer, out.buffer, true);
    cpu.traps[kReturnTrap] = Trap{kStopReturned, "end of sequence", nullptr};
    memcpy(cpu.r, c.r, sizeof c.r);
    cpu.r[11] = buffer_address;
    cpu.r[13] = SetUpStack(cpu, 4096) - 256;
    cpu.SetFlags(c.flags);
    cpu.thumb = c.flags & 0x20;
    cpu.pc = 0x8000;
    cpu.limit = 100000;
    out.stop = cpu.Run();
    memcpy(out.r, cpu.r, sizeof out.r);
    out.cpsr = cpu.Cpsr();
    out.buffer_address = buffer_address;
    return out;
}

void Append(std::vector<uint8_t> &bytes, const void *data, size_t size)
{
    bytes.insert(bytes.end(), (const uint8_t *)data, (const uint8_t *)data + size);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: arm_vs_qemu HARNESS [SEED [CASES [LENGTH]]]\n");
        return 2;
    }
    std::string harness = argv[1];
    uint64_t seed = argc > 2 ? strtoull(argv[2], nullptr, 0) : 1;
    int cases = argc > 3 ? atoi(argv[3]) : 2000, length = argc > 4 ? atoi(argv[4]) : 12;
    if (system("command -v qemu-arm >/dev/null 2>&1") != 0) {
        printf("differential check not run: qemu-arm is not installed (Debian's qemu-user)\n");
        return 77;
    }
    if (FILE *probe = fopen(harness.c_str(), "rb")) {
        fclose(probe);
    } else {
        printf("differential check not run: no harness %s (arm-linux-gnueabi-gcc not installed?)\n", harness.c_str());
        return 77;
    }
    printf("arm_vs_qemu: generator instruction_generator.cpp, seed %llu, %d cases of %d instructions\n",
           (unsigned long long)seed, cases, length);
    SequenceRng rng(seed);
    std::vector<SequenceCase> all;
    std::vector<uint8_t> input;
    for (int k = 0; k < cases; k++) {
        // Every fourth case runs in Thumb state.
        all.push_back(k % 4 == 3 ? GenerateThumbSequence(rng, length) : GenerateSequence(rng, length));
        const SequenceCase &c = all.back();
        uint32_t words = (uint32_t)c.code.size();
        Append(input, &words, 4);
        Append(input, c.r, sizeof c.r);
        Append(input, &c.flags, 4);
        Append(input, c.buffer, kSequenceBuffer);
        Append(input, c.code.data(), 4 * words);
    }
    uint32_t end = 0;
    Append(input, &end, 4);
    std::string in_path = "arm_vs_qemu.in", out_path = "arm_vs_qemu.out";
    FILE *f = fopen(in_path.c_str(), "wb");
    if (!f || fwrite(input.data(), 1, input.size(), f) != input.size() || fclose(f) != 0) {
        fprintf(stderr, "arm_vs_qemu: cannot write %s\n", in_path.c_str());
        return 1;
    }
    std::string command = "qemu-arm -cpu pxa270 " + harness + " <" + in_path + " >" + out_path;
    bool reference_failed = system(command.c_str()) != 0;
    f = fopen(out_path.c_str(), "rb");
    int failures = 0;
    for (int k = 0; k < cases && f; k++) {
        Outcome reference;
        if (fread(reference.r, 4, 13, f) != 13 || fread(&reference.cpsr, 4, 1, f) != 1 ||
            fread(reference.buffer, 1, kSequenceBuffer, f) != kSequenceBuffer || fread(&reference.buffer_address, 4, 1, f) != 1) {
            printf("arm_vs_qemu: the reference stopped%s at case %d:\n%s", reference_failed ? " (qemu-arm failed)" : "", k,
                   DescribeSequence(all[k]).c_str());
            Outcome ours = Interpret(all[k], 0x20000);
            printf("  the interpreter: %s\n", StopKindName(ours.stop));
            return 1;
        }
        Outcome ours = Interpret(all[k], reference.buffer_address);
        std::string differences;
        char line[96];
        if (ours.stop != kStopReturned)
            differences += std::string("  the interpreter stopped: ") + StopKindName(ours.stop) + "\n";
        for (int r = 0; r < 13; r++) {
            if (ours.r[r] != reference.r[r]) {
                snprintf(line, sizeof line, "  r%d: qemu %08X, interpreter %08X\n", r, reference.r[r], ours.r[r]);
                differences += line;
            }
        }
        if ((ours.cpsr ^ reference.cpsr) & 0xF8000000u) {
            snprintf(line, sizeof line, "  flags: qemu %08X, interpreter %08X\n", reference.cpsr & 0xF8000000u, ours.cpsr & 0xF8000000u);
            differences += line;
        }
        for (int b = 0; b < kSequenceBuffer; b++) {
            if (ours.buffer[b] != reference.buffer[b]) {
                snprintf(line, sizeof line, "  buffer[%d]: qemu %02X, interpreter %02X\n", b, reference.buffer[b], ours.buffer[b]);
                differences += line;
            }
        }
        if (!differences.empty()) {
            if (++failures <= 5)
                printf("case %d (seed %llu) differs:\n%s%s", k, (unsigned long long)seed, DescribeSequence(all[k]).c_str(), differences.c_str());
        }
    }
    if (f)
        fclose(f);
    printf("arm_vs_qemu: %d of %d cases differ\n", failures, cases);
    return failures ? 1 : 0;
}
