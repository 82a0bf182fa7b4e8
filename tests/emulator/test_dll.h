// A small Windows CE ARM DLL made byte by byte, for the loader's tests and
// its fuzz target: "answer" (ordinal 1) returns 42; ordinal 2 reads a word
// through a relocated pointer; "through_import" (3) returns
// COREDLL.dll!malloc(5) + 1. One section at rva 0x1000, two HIGHLOW
// relocations, image base 0x10000000.
#pragma once
#include <stdint.h>
#include <vector>

enum : uint32_t { kTestDllBase = 0x10000000u, kTestDllFileSize = 0x1200 };

std::vector<uint8_t> TestDll();
// Little-endian writes into a file, and the file offset of an rva of the section.
void Put32(std::vector<uint8_t> &f, uint32_t at, uint32_t value);
void Put16(std::vector<uint8_t> &f, uint32_t at, uint16_t value);
uint32_t At(uint32_t rva);
