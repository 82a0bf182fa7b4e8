// The test DLL, field by field.
#include "test_dll.h"
#include <string.h>

namespace {
const uint32_t kImageBase = kTestDllBase, kFileSize = kTestDllFileSize, kCode = 0x200;   // file offset of rva 0x1000
void PutText(std::vector<uint8_t> &f, uint32_t at, const char *text) { memcpy(&f[at], text, strlen(text) + 1); }
}  // namespace

void Put32(std::vector<uint8_t> &f, uint32_t at, uint32_t value) { memcpy(&f[at], &value, 4); }
void Put16(std::vector<uint8_t> &f, uint32_t at, uint16_t value) { memcpy(&f[at], &value, 2); }
// File offset of an rva in the one section.
uint32_t At(uint32_t rva) { return rva - 0x1000 + kCode; }

std::vector<uint8_t> TestDll()
{
    std::vector<uint8_t> f(kFileSize, 0);
    f[0] = 'M', f[1] = 'Z';
    Put32(f, 0x3C, 0x40);
    memcpy(&f[0x40], "PE\0\0", 4);
    Put16(f, 0x44, 0x1C0);               // ARM
    Put16(f, 0x46, 1);                   // one section
    Put16(f, 0x54, 0xE0);                // optional header size
    Put16(f, 0x56, 0x2102);
    const uint32_t opt = 0x58;
    Put16(f, opt, 0x10B);
    Put32(f, opt + 16, 0);               // no entry point
    Put32(f, opt + 28, kImageBase);
    Put32(f, opt + 32, 0x1000);
    Put32(f, opt + 36, 0x200);
    Put32(f, opt + 56, 0x2000);          // image size
    Put32(f, opt + 60, 0x200);           // header size
    Put32(f, opt + 92, 16);
    Put32(f, opt + 96, 0x1300), Put32(f, opt + 100, 40);     // exports
    Put32(f, opt + 104, 0x1200), Put32(f, opt + 108, 40);    // imports
    Put32(f, opt + 136, 0x1400), Put32(f, opt + 140, 12);    // base relocations
    const uint32_t section = opt + 0xE0;
    memcpy(&f[section], ".text", 5);
    Put32(f, section + 8, 0x1000), Put32(f, section + 12, 0x1000);
    Put32(f, section + 16, 0x1000), Put32(f, section + 20, kCode);
    const uint32_t code[] = {
        0xE3A0002A, 0xE12FFF1E,                          // 0x1000: mov r0, #42; bx lr
        0xE59F0004, 0xE5900000, 0xE12FFF1E, kImageBase + 0x1100,   // 0x1008: ldr r0, =value; ldr r0, [r0]; bx lr
        0xE52DE004, 0xE3A00005, 0xE59FC00C, 0xE1A0E00F,  // 0x1018: push {lr}; mov r0, #5; ldr ip, =slot; mov lr, pc
        0xE59CF000, 0xE2800001, 0xE49DF004, kImageBase + 0x1250,   // ldr pc, [ip]; add r0, r0, #1; pop {pc}
    };
    for (size_t k = 0; k < sizeof code / 4; k++)
        Put32(f, At(0x1000) + 4 * (uint32_t)k, code[k]);
    Put32(f, At(0x1100), 0x12345678);
    Put32(f, At(0x1200), 0x1240), Put32(f, At(0x1200) + 12, 0x1260), Put32(f, At(0x1200) + 16, 0x1250);
    Put32(f, At(0x1240), 0x1270), Put32(f, At(0x1250), 0x1270);
    PutText(f, At(0x1260), "COREDLL.dll");
    PutText(f, At(0x1272), "malloc");
    Put32(f, At(0x1300) + 12, 0x1340), Put32(f, At(0x1300) + 16, 1), Put32(f, At(0x1300) + 20, 3);
    Put32(f, At(0x1300) + 24, 2), Put32(f, At(0x1300) + 28, 0x1360), Put32(f, At(0x1300) + 32, 0x1370);
    Put32(f, At(0x1300) + 36, 0x1378);
    PutText(f, At(0x1340), "test.dll");
    Put32(f, At(0x1360), 0x1000), Put32(f, At(0x1364), 0x1008), Put32(f, At(0x1368), 0x1018);
    Put32(f, At(0x1370), 0x1380), Put32(f, At(0x1374), 0x1388);
    Put16(f, At(0x1378), 0), Put16(f, At(0x137A), 2);
    PutText(f, At(0x1380), "answer");
    PutText(f, At(0x1388), "through_import");
    Put32(f, At(0x1400), 0x1000), Put32(f, At(0x1404), 12);
    Put16(f, At(0x1408), 0x3014), Put16(f, At(0x140A), 0x3034);
    return f;
}

