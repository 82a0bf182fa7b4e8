// Guest memory for the boundary's tests: a data region, scratch space and a
// module's image, and a boundary over them whose refusals throw.
#pragma once
#include "armroom/layouts32.h"

#include <string.h>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

const uint32_t kImage = 0x10000000, kData = 0x20000000, kScratch = 0x30000000, kRegion = 0x10000;
// Where the structure under test is written, where it comes back, and
// where the data it points at goes.
const uint32_t kIn = kData, kOut = kData + 0x1000, kPlaced = kData + 0x2000;
// HKEY_LOCAL_MACHINE: 0x80000002 on the device, sign-extended by the host's
// headers.
const uint32_t kGuestHighHandle = 0x80000002;
const HANDLE kHighHandle = (HANDLE)HKEY_LOCAL_MACHINE;

// Guest memory (data, scratch space, a module's image) and a boundary over
// it whose refusals throw.
struct Room {
    Memory memory;
    Boundary b{memory};
    uint8_t *image;
    uint32_t placed = kPlaced, scratched = kScratch;
    WINDOWPOS position;

    Room()
    {
        memory.MapOwned(kData, kRegion, true);
        memory.MapOwned(kScratch, kRegion, true);
        image = memory.MapOwned(kImage, 0x1000, false);
        b.AddModule(kImage, image);
        b.refuse = [](const std::string &why) { throw std::runtime_error(why); };
        b.scratch = [this](uint32_t size) { return Take(scratched, size, kScratch + kRegion); };
    }
    static uint32_t Take(uint32_t &next, uint32_t size, uint32_t end)
    {
        uint32_t at = next;
        next += (size + 3) & ~3u;
        return next <= end ? at : 0;
    }
    uint32_t Put(const void *bytes, uint32_t size)
    {
        uint32_t at = Take(placed, size, kData + kRegion);
        memcpy(memory.Write(at, size), bytes, size);
        return at;
    }
    uint32_t Text(const wchar_t *text) { return Put(text, (uint32_t)(wcslen(text) + 1) * sizeof(wchar_t)); }
    template <class T>
    T &At(uint32_t guest) { return *(T *)memory.Write(guest, sizeof(T)); }
    const void *HostOf(uint32_t guest) { return memory.Read(guest, 1); }
    static bool InScratch(uint32_t guest) { return guest - kScratch < kRegion; }
};

// What the boundary said when RUN was refused; empty when it crossed.
inline std::string Refusal(const std::function<void()> &run)
{
    try {
        run();
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return "";
}

}  // namespace
