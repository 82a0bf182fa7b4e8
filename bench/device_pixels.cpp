// The device's pixel work in ARM instructions: the Board primitives of the
// device's own item (clear, pen dots, each stamp), found by the link map's
// symbols and run in the interpreter on a 640 x 640 Board in guest memory.
// Each count, at the XScale's 416 MHz and one instruction a cycle, is a
// lower bound of the device's time.
//   device_pixels ITEM.dll ITEM.map
// Prints "DEVICE<TAB>operation<TAB>instructions<TAB>runtime bytes" lines:
// the bytes the code handed to the C runtime's memset/memcpy, which are
// the device's COREDLL code, not counted here.
#include "bench/bench_shapes.h"
#include "emulator/backtrace.h"
#include "emulator/call.h"
#include "emulator/pe_loader.h"

#include <stdio.h>
#include <string.h>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

uint64_t g_runtimeBytes;   // handed to memset/memcpy so far

const uint32_t kBoardSide = 640, kBoardAt = 0x30000000u, kBoardHeader = 0x2FFF0000u;

// The C runtime calls the pixel code makes, done on guest memory.
uint32_t BindRuntime(Cpu &cpu, const std::string &name)
{
    uint32_t at = NewTrapAddress(cpu);
    if (name == "memset")
        cpu.traps[at] = Trap{kStopNone, name, [](Cpu &c) {
            g_runtimeBytes += c.r[2];
            if (uint8_t *p = c.memory.Write(c.r[0], c.r[2]))
                memset(p, (int)c.r[1], c.r[2]);
            else
                c.AccessFault(c.r[0], "memset");
        }};
    else if (name == "memcpy")
        cpu.traps[at] = Trap{kStopNone, name, [](Cpu &c) {
            uint8_t *to = c.memory.Write(c.r[0], c.r[2]);
            const uint8_t *from = c.memory.Read(c.r[1], c.r[2]);
            g_runtimeBytes += c.r[2];
            if (to && from)
                memmove(to, from, c.r[2]);
            else
                c.AccessFault(to ? c.r[1] : c.r[0], "memcpy");
        }};
    else
        return 0;
    return at;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: device_pixels ITEM.dll ITEM.map\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Cpu cpu;
    LoadedImage image;
    std::string error;
    ImportBinder binder = [&](const std::string &, const std::string &name, uint32_t) { return BindRuntime(cpu, name); };
    if (LoadPeImage(cpu, file, binder, image, error) != kPeLoaded) {
        fprintf(stderr, "device_pixels: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    SymbolTable symbols;
    if (!symbols.AddImage(image, argv[1], argv[2])) {
        fprintf(stderr, "device_pixels: cannot read %s\n", argv[2]);
        return 1;
    }
    const char *kFill = "_Z9BoardFillRK11BoardPixels8PixelRGB",
               *kDot = "_Z13BoardWriteDotRK11BoardPixelsiiib8PixelRGB",
               *kStamp = "_Z15BoardStampShapeRK11BoardPixelsiii8PixelRGB";
    std::map<std::string, uint32_t> at;
    for (const char *name : {kFill, kDot, kStamp})
        if (!symbols.AddressOf(name, at[name])) {
            fprintf(stderr, "device_pixels: %s is not in %s\n", name, argv[2]);
            return 1;
        }
    SetUpStack(cpu, kDefaultStackSize);
    cpu.memory.MapOwned(kBoardAt, kBoardSide * kBoardSide * 3, true);
    uint32_t *board = (uint32_t *)cpu.memory.MapOwned(kBoardHeader, 16, true);
    board[0] = kBoardSide;          // BoardPixels: width, height, bits
    board[1] = kBoardSide;
    board[2] = kBoardAt;
    const uint32_t red = 255, green = 0, blue = 0;

    // Runs one call; its instruction count, or exits with the stop's report.
    auto count = [&](const char *operation, const char *symbol, const std::vector<uint32_t> &args) {
        uint64_t before = cpu.count, bytes = g_runtimeBytes;
        if (CallFunction(cpu, at[symbol], args) != kStopReturned) {
            fprintf(stderr, "device_pixels: %s: %s\n", operation, FormatStopReport(cpu.stop).c_str());
            exit(1);
        }
        printf("DEVICE\t%s\t%llu\t%llu\n", operation, (unsigned long long)(cpu.count - before),
               (unsigned long long)(g_runtimeBytes - bytes));
    };
    // BoardFill(board, colour): the colour's three words in r1-r3.
    count("BoardFill 640 x 640", kFill, {kBoardHeader, 255, 255, 255});
    const uint8_t *pixels = cpu.memory.Read(kBoardAt, kBoardSide * kBoardSide * 3);
    for (uint32_t k = 0; k < kBoardSide * kBoardSide * 3; k++)
        if (pixels[k] != 255) {
            fprintf(stderr, "device_pixels: the clear left byte %u at %u\n", pixels[k], k);
            return 1;
        }
    // BoardWriteDot(board, x, y, w, eraser, colour): eraser and colour on the stack.
    for (uint32_t w : {1u, 3u, 6u}) {
        char name[64];
        snprintf(name, sizeof name, "pen dot, width %u", w);
        count(name, kDot, {kBoardHeader, 320, 320, w, 0, red, green, blue});
    }
    const uint8_t *centre = pixels + (320 * kBoardSide + 320) * 3;   // row 320 anchors y 320
    if (centre[0] != blue || centre[1] != green || centre[2] != red) {
        fprintf(stderr, "device_pixels: the pen dot left %u %u %u at its centre\n", centre[0], centre[1], centre[2]);
        return 1;
    }
    count("eraser dot, width 6", kDot, {kBoardHeader, 320, 320, 6, 1, red, green, blue});
    // BoardStampShape(board, x, y, shape, colour): the colour on the stack.
    for (const BenchShape &shape : kShapeList) {
        std::string name = std::string("stamp ") + shape.name;
        count(name.c_str(), kStamp, {kBoardHeader, 320, 320, (uint32_t)shape.number, red, green, blue});
    }
    return 0;
}
