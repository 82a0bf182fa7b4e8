// The PE loader on a small Windows CE ARM DLL built here (three exports, one
// import, two HIGHLOW relocations), on malformed variants of it, and on the
// device's own item DLL where the device build made one.
#include "emulator/call.h"
#include "emulator/pe_loader.h"
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

const uint32_t kImageBase = 0x10000000u, kFileSize = 0x1200, kCode = 0x200;   // file offset of rva 0x1000

void Put32(std::vector<uint8_t> &f, uint32_t at, uint32_t value) { memcpy(&f[at], &value, 4); }
void Put16(std::vector<uint8_t> &f, uint32_t at, uint16_t value) { memcpy(&f[at], &value, 2); }
void PutText(std::vector<uint8_t> &f, uint32_t at, const char *text) { memcpy(&f[at], text, strlen(text) + 1); }
// File offset of an rva in the one section.
uint32_t At(uint32_t rva) { return rva - 0x1000 + kCode; }

// The DLL: "answer" (ordinal 1) returns 42; ordinal 2 reads a word through a
// relocated pointer; "through_import" (3) returns COREDLL!malloc(5) + 1.
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

// Loads FILE into CPU, with a stack, or fails the test.
bool Load(Cpu &cpu, const std::vector<uint8_t> &file, const ImportBinder &binder, LoadedImage &image)
{
    std::string error;
    bool loaded = LoadPeImage(cpu, file, binder, image, error);
    EXPECT_TRUE(loaded) << error;
    if (!cpu.stack_high)
        SetUpStack(cpu, kDefaultStackSize);
    return loaded;
}

// Calls the export WHICH ("#ORDINAL" or a name) of IMAGE.
StopKind CallExport(Cpu &cpu, const LoadedImage &image, const char *which)
{
    uint32_t address = 0;
    EXPECT_TRUE(FindExport(image, which, address)) << which;
    return CallFunction(cpu, address, {});
}

TEST(PeLoader, MapsAtItsBaseOrRelocatesAndBindsImports)
{
    Cpu cpu;
    uint32_t malloc_trap = NewTrapAddress(cpu);
    cpu.traps[malloc_trap] = Trap{kStopNone, "malloc", [](Cpu &c) { c.r[0] *= 10; }};
    ImportBinder binder = [&](const std::string &dll, const std::string &name, uint32_t) {
        return dll == "COREDLL.dll" && name == "malloc" ? malloc_trap : 0u;
    };
    LoadedImage first, second;
    // The first copy sits at its image base, the second is relocated.
    for (LoadedImage *image : {&first, &second}) {
        ASSERT_TRUE(Load(cpu, TestDll(), binder, *image));
        EXPECT_EQ(CallExport(cpu, *image, "answer"), kStopReturned);
        EXPECT_EQ(cpu.r[0], 42u);
        EXPECT_EQ(CallExport(cpu, *image, "#2"), kStopReturned);
        EXPECT_EQ(cpu.r[0], 0x12345678u);
        EXPECT_EQ(CallExport(cpu, *image, "through_import"), kStopReturned);
        EXPECT_EQ(cpu.r[0], 51u);
        EXPECT_EQ(image->imports, 1u);
        EXPECT_EQ(image->unbound_imports, 0u);
    }
    EXPECT_EQ(first.base, kImageBase);
    EXPECT_EQ(first.relocations, 0u);
    EXPECT_NE(second.base, kImageBase);
    EXPECT_EQ(second.relocations, 2u);
}

TEST(PeLoader, AnUnboundImportStopsNamingIt)
{
    Cpu cpu;
    LoadedImage image;
    ASSERT_TRUE(Load(cpu, TestDll(), ImportBinder(), image));
    EXPECT_EQ(CallExport(cpu, image, "#3"), kStopUnboundImport);
    EXPECT_EQ(image.unbound_imports, 1u);
    EXPECT_NE(FormatStopReport(cpu.stop).find("COREDLL.dll!malloc"), std::string::npos);
}

struct Malformation {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> change;
    const char *refusal;    // part of the loader's message
};

TEST(PeLoader, RefusesMalformedFiles)
{
    const Malformation cases[] = {
        {"not a PE file", [](std::vector<uint8_t> &f) { f[0] = 'X'; }, "no MZ header"},
        {"PE offset past the end", [](std::vector<uint8_t> &f) { Put32(f, 0x3C, 0xFFFFFFF0u); }, "no PE signature"},
        {"x86 machine", [](std::vector<uint8_t> &f) { Put16(f, 0x44, 0x14C); }, "not Windows CE ARM"},
        {"absurd image size", [](std::vector<uint8_t> &f) { Put32(f, 0x58 + 56, 0x7FFFFFFFu); }, "absurd"},
        {"too many sections", [](std::vector<uint8_t> &f) { Put16(f, 0x46, 60000); }, "absurd"},
        {"section data outside the file", [](std::vector<uint8_t> &f) { Put32(f, 0x138 + 20, 0xFFFFFF00u); }, "outside the file"},
        {"section outside the image", [](std::vector<uint8_t> &f) { Put32(f, 0x138 + 12, 0x1800); }, "outside the image"},
        {"relocation outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1400), 0x1FFFF000u); }, "outside the image"},
        {"relocation block too long", [](std::vector<uint8_t> &f) { Put32(f, At(0x1404), 0x1000); }, "malformed"},
        {"unknown relocation type", [](std::vector<uint8_t> &f) { Put16(f, At(0x140A), 0x9034); }, "unsupported relocation type 9"},
        {"import name without terminator", [](std::vector<uint8_t> &f) {
             Put32(f, At(0x1240), 0x1FF0);
             memset(&f[At(0x1FF2)], 'A', 14);
         }, "no terminator"},
        {"DLL name without terminator", [](std::vector<uint8_t> &f) {
             Put32(f, At(0x1200) + 12, 0x1FFC);
             memset(&f[At(0x1FFC)], 'A', 4);
         }, "no terminator"},
        {"import table outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1200), 0x7FFFFFF0u); }, "outside the image"},
        {"export table outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1300) + 28, 0x1FFC); }, "outside the image"},
    };
    for (const Malformation &m : cases) {
        std::vector<uint8_t> file = TestDll();
        m.change(file);
        Cpu cpu;
        LoadedImage image;
        std::string error;
        EXPECT_FALSE(LoadPeImage(cpu, file, ImportBinder(), image, error)) << m.what;
        EXPECT_NE(error.find(m.refusal), std::string::npos) << m.what << ": " << error;
    }
    // Every truncation of the file is refused.
    std::vector<uint8_t> whole = TestDll();
    for (uint32_t length = 0; length < whole.size(); length += 3) {
        Cpu cpu;
        LoadedImage image;
        std::string error;
        std::vector<uint8_t> part(whole.begin(), whole.begin() + length);
        EXPECT_FALSE(LoadPeImage(cpu, part, ImportBinder(), image, error)) << length;
        EXPECT_FALSE(error.empty());
    }
}

// The device build's item DLL (INKLEAF_ITEM_DLL): relocated when its base
// is taken, ordinal 240 runs until the first import, which nothing binds.
TEST(PeLoader, TheDevicesItemRunsToItsFirstImport)
{
    const char *path = getenv("INKLEAF_ITEM_DLL");
    std::string name = path && *path ? path : "";
#ifdef _WIN32
    if (!name.empty() && name[0] == '/')
        name = "Z:" + name;
#endif
    std::ifstream in(name, std::ios::binary);
    if (!in)
        GTEST_SKIP() << "no device build of inkleaf_item.dll (INKLEAF_ITEM_DLL)";
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Cpu cpu;
    ASSERT_NE(cpu.memory.MapOwned(0x10000000u, 0x10000, true), nullptr);   // its image base is taken
    LoadedImage image;
    std::string error;
    ASSERT_TRUE(LoadPeImage(cpu, file, ImportBinder(), image, error)) << error;
    EXPECT_NE(image.base, image.preferred_base);
    EXPECT_GT(image.relocations, 400u);
    EXPECT_GT(image.unbound_imports, 50u);
    uint32_t address = 0;
    ASSERT_TRUE(FindExport(image, "#240", address));
    SetUpStack(cpu, kDefaultStackSize);
    EXPECT_EQ(CallFunction(cpu, address, {0, 0}), kStopUnboundImport) << FormatStopReport(cpu.stop);
    EXPECT_NE(cpu.stop.detail.find("COREDLL.dll!"), std::string::npos) << cpu.stop.detail;
}

}  // namespace
