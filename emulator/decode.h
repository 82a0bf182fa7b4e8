// The decoders: one instruction into the handler that executes it and its
// operands (emulator/cpu.h's Insn). Each state has a table of encodings
// (arm_decode.cpp, thumb_decode.cpp), rows of a name, a bit pattern and a
// decode function; the run loop decodes each address once.
#pragma once
#include "emulator/cpu.h"
#include <stdint.h>

// Fill INSN for the instruction WORD (HALF in Thumb state) at ADDRESS.
void DecodeArm(uint32_t word, uint32_t address, Insn &insn);
void DecodeThumb(uint16_t half, uint32_t address, Insn &insn);
// The name of the encoding WORD (HALF) matches ("LDRD", "PUSH", ...), or
// NULL where it matches none and so is undefined.
const char *ArmEncodingName(uint32_t word);
const char *ThumbEncodingName(uint16_t half);
