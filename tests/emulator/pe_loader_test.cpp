// The PE loader on a small Windows CE ARM DLL built here (three exports, one
// import, two HIGHLOW relocations) and on malformed variants of it. The
// device's own item DLL is run by the arm build's check
// (tests/device/arm_item_call_test.sh).
#include "emulator/call.h"
#include "emulator/pe_loader.h"
#include "test_dll.h"
#include <gtest/gtest.h>
#include <string.h>
#include <functional>

namespace {

// Loads FILE into CPU, with a stack, or fails the test.
bool Load(Cpu &cpu, const std::vector<uint8_t> &file, const ImportBinder &binder, LoadedImage &image)
{
    std::string error;
    bool loaded = LoadPeImage(cpu, file, binder, image, error) == kPeLoaded;
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
    EXPECT_EQ(first.base, kTestDllBase);
    EXPECT_EQ(first.relocations, 0u);
    EXPECT_NE(second.base, kTestDllBase);
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

// CeGCC's linker leaves the import table's rva, with size 0, in the export
// entry of a program that exports nothing (the device's editor).
TEST(PeLoader, AnExportEntryOfSizeZeroIsNone)
{
    std::vector<uint8_t> file = TestDll();
    Put32(file, 0x58 + 96, 0x1200);
    Put32(file, 0x58 + 100, 0);
    Cpu cpu;
    LoadedImage image;
    ASSERT_TRUE(Load(cpu, file, ImportBinder(), image));
    EXPECT_TRUE(image.exports.empty());
}

struct Malformation {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> change;
    const char *refusal;    // part of the loader's message
    PeLoadResult reason;
};

TEST(PeLoader, RefusesMalformedFiles)
{
    const Malformation cases[] = {
        {"not a PE file", [](std::vector<uint8_t> &f) { f[0] = 'X'; }, "no MZ header", kPeNotPe},
        {"PE offset past the end", [](std::vector<uint8_t> &f) { Put32(f, 0x3C, 0xFFFFFFF0u); }, "no PE signature", kPeNotPe},
        {"x86 machine", [](std::vector<uint8_t> &f) { Put16(f, 0x44, 0x14C); }, "not Windows CE ARM", kPeNotArm},
        {"absurd image size", [](std::vector<uint8_t> &f) { Put32(f, 0x58 + 56, 0x7FFFFFFFu); }, "absurd", kPeMalformed},
        {"too many sections", [](std::vector<uint8_t> &f) { Put16(f, 0x46, 60000); }, "absurd", kPeMalformed},
        {"section data outside the file", [](std::vector<uint8_t> &f) { Put32(f, 0x138 + 20, 0xFFFFFF00u); }, "outside the file", kPeMalformed},
        {"section outside the image", [](std::vector<uint8_t> &f) { Put32(f, 0x138 + 12, 0x1800); }, "outside the image", kPeMalformed},
        {"relocation outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1400), 0x1FFFF000u); }, "outside the image", kPeMalformed},
        {"relocation block too long", [](std::vector<uint8_t> &f) { Put32(f, At(0x1404), 0x1000); }, "malformed", kPeMalformed},
        {"unknown relocation type", [](std::vector<uint8_t> &f) { Put16(f, At(0x140A), 0x9034); }, "unsupported relocation type 9", kPeMalformed},
        {"import name without terminator", [](std::vector<uint8_t> &f) {
             Put32(f, At(0x1240), 0x1FF0);
             memset(&f[At(0x1FF2)], 'A', 14);
         }, "no terminator", kPeMalformed},
        {"DLL name without terminator", [](std::vector<uint8_t> &f) {
             Put32(f, At(0x1200) + 12, 0x1FFC);
             memset(&f[At(0x1FFC)], 'A', 4);
         }, "no terminator", kPeMalformed},
        {"import table outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1200), 0x7FFFFFF0u); }, "outside the image", kPeMalformed},
        {"export table outside the image", [](std::vector<uint8_t> &f) { Put32(f, At(0x1300) + 28, 0x1FFC); }, "outside the image", kPeMalformed},
    };
    for (const Malformation &m : cases) {
        std::vector<uint8_t> file = TestDll();
        m.change(file);
        Cpu cpu;
        LoadedImage image;
        std::string error;
        EXPECT_EQ(LoadPeImage(cpu, file, ImportBinder(), image, error), m.reason) << m.what;
        EXPECT_NE(error.find(m.refusal), std::string::npos) << m.what << ": " << error;
    }
    // Every truncation of the file is refused.
    std::vector<uint8_t> whole = TestDll();
    for (uint32_t length = 0; length < whole.size(); length += 3) {
        Cpu cpu;
        LoadedImage image;
        std::string error;
        std::vector<uint8_t> part(whole.begin(), whole.begin() + length);
        EXPECT_NE(LoadPeImage(cpu, part, ImportBinder(), image, error), kPeLoaded) << length;
        EXPECT_FALSE(error.empty());
    }
    // A good file where the guest has no range free for it.
    Cpu full;
    uint8_t byte = 0;
    ASSERT_TRUE(full.memory.Map(kTestDllBase, kGuestLimit - kTestDllBase, &byte, false));
    LoadedImage image;
    std::string error;
    EXPECT_EQ(LoadPeImage(full, whole, ImportBinder(), image, error), kPeNoRoom) << error;
}

}  // namespace
