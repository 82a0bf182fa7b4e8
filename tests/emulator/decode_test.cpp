// The decoders' tables: a word of each kind of instruction, in either
// state, matches the encoding of its name; a word that matches none is
// undefined.
#include "emulator/decode.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Named {
    uint32_t word;
    bool thumb;
    const char *name;   // NULL: no encoding
};
const Named kEncodings[] = {
    {0xE0810002u, false, "data processing (register)"},           // add r0, r1, r2
    {0xE1A0F00Eu, false, "data processing (register)"},           // mov pc, lr
    {0xE0800351u, false, "data processing (shifted by register)"}, // add r0, r0, r1, asr r3
    {0xE3A00001u, false, "data processing (immediate)"},          // mov r0, #1
    {0xE328F20Fu, false, "MSR (immediate)"},                      // msr cpsr_f, #0xF0000000
    {0xE10F0000u, false, "MRS"},                                  // mrs r0, cpsr
    {0xE0010291u, false, "MUL"},                                  // mul r1, r1, r2
    {0xE0C10392u, false, "SMULL"},                                // smull r0, r1, r2, r3
    {0xE1001092u, false, "SWP"},                                  // swp r1, r2, [r0]
    {0xE1C020D0u, false, "LDRD"},                                 // ldrd r2, [r0]
    {0xE1D020B1u, false, "LDRH"},                                 // ldrh r2, [r0, #1]
    {0xE12FFF1Eu, false, "BX"},                                   // bx lr
    {0xE16F0F11u, false, "CLZ"},                                  // clz r0, r1
    {0xE1020051u, false, "QADD"},                                 // qadd r0, r1, r2
    {0xE1014382u, false, "SMLAxy"},                               // smlabb r1, r2, r3, r4
    {0xE1200070u, false, "BKPT"},                                 // bkpt
    {0xE5900000u, false, "LDR"},                                  // ldr r0, [r0]
    {0xE7910102u, false, "LDR (register)"},                       // ldr r0, [r1, r2, lsl #2]
    {0xE8BD8000u, false, "LDM"},                                  // ldmia sp!, {pc}
    {0xEB000000u, false, "BL"},                                   // bl .+8
    {0xEF000000u, false, "SWI"},                                  // swi 0
    {0xEE010F10u, false, "CDP/MCR/MRC"},                          // mcr p15, 0, r0, c1, c0
    {0xF5D0F000u, false, "PLD"},                                  // pld [r0]
    {0xFA000000u, false, "BLX (immediate)"},                      // blx .+8
    {0xE7F000F0u, false, nullptr},                                // udf: the media space
    {0xE0400090u, false, nullptr},                                // a multiply with bit 22 set
    {0xF0000000u, false, nullptr},                                // condition 1111, no BLX or PLD
    {0x1888u, true, "ADD (register)"},                            // adds r0, r1, r2
    {0x4348u, true, "MUL"},                                       // muls r0, r1
    {0x40C8u, true, "LSR (register)"},                            // lsrs r0, r1
    {0x4770u, true, "BX"},                                        // bx lr
    {0x4801u, true, "LDR (literal)"},                             // ldr r0, [pc, #4]
    {0x6801u, true, "LDR (immediate)"},                           // ldr r1, [r0]
    {0xB500u, true, "PUSH"},                                      // push {lr}
    {0xBD00u, true, "POP"},                                       // pop {pc}
    {0xD0FEu, true, "B<cond>"},                                   // beq .
    {0xDE00u, true, "B<cond>"},                                   // condition 1110: undefined
    {0xDF01u, true, "SWI"},                                       // swi 1
    {0xF000u, true, "BL (prefix)"},
    {0xF800u, true, "BL (suffix)"},
    {0xB100u, true, nullptr},                                     // cbz: not in ARMv5TE
};

TEST(Decoder, EachWordMatchesTheEncodingOfItsName)
{
    for (const Named &c : kEncodings) {
        const char *name = c.thumb ? ThumbEncodingName((uint16_t)c.word) : ArmEncodingName(c.word);
        EXPECT_EQ(std::string(name ? name : "none"), std::string(c.name ? c.name : "none")) << std::hex << c.word;
    }
}

}  // namespace
