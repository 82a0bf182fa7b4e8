// Guest memory: a few flat regions, each a guest address range backed by
// host bytes. Inside the stand-in's 32-bit process a region's host bytes
// are at the guest address itself (guest == host); armcall and the tests
// map regions of their own. The last region hit is tried first.
#pragma once
#include <stdint.h>
#include <functional>
#include <memory>
#include <vector>

// Nothing is mapped from here up: the run's traps (returns, bound and
// unbound imports) and its stop marker live there.
enum : uint32_t { kGuestLimit = 0xFFFF0000u };

struct MemoryRegion {
    uint32_t guest;     // first guest address
    uint32_t size;      // bytes; never 0
    uint8_t *host;      // host address of `guest`
    bool writable;
};

class Memory {
public:
    // Maps host bytes the caller owns at GUEST; false when the range reaches
    // kGuestLimit or overlaps a region already mapped.
    bool Map(uint32_t guest, uint32_t size, uint8_t *host, bool writable);
    // Maps host bytes at the guest address equal to their host address, as
    // in the stand-in's 32-bit process: a pointer the ARM code holds is the
    // host's pointer. False when they lie above 4 GB (a 64-bit host) or
    // overlap a region.
    bool MapAtHostAddress(uint8_t *host, uint32_t size, bool writable)
    {
        uintptr_t at = (uintptr_t)host;
        return (uint64_t)at == (uint32_t)at && Map((uint32_t)at, size, host, writable);
    }
    // Maps SIZE zeroed bytes the memory owns; NULL on overlap.
    uint8_t *MapOwned(uint32_t guest, uint32_t size, bool writable);
    // True when no byte of [guest, guest + size) is mapped.
    bool IsFree(uint32_t guest, uint32_t size) const;
    // A free range of SIZE bytes at or above FROM, aligned to ALIGN; 0 when none.
    uint32_t FindFree(uint32_t from, uint32_t size, uint32_t align) const;

    // The host address of SIZE bytes at GUEST, all inside one region, or
    // NULL. Hot: the interpreter calls these on every load and store.
    uint8_t *Read(uint32_t guest, uint32_t size) {
        uint32_t offset = guest - last_.guest;
        if (offset < last_.size && last_.size - offset >= size)
            return last_.host + offset;
        return Slow(guest, size, false);
    }
    // Like Read, but only in the regions: code never runs from host memory
    // seen through `outside`.
    uint8_t *Code(uint32_t guest, uint32_t size) {
        uint32_t offset = guest - last_.guest;
        if (offset < last_.size && last_.size - offset >= size && !last_outside_)
            return last_.host + offset;
        return Slow(guest, size, false, false);
    }
    uint8_t *Write(uint32_t guest, uint32_t size) {
        uint32_t offset = guest - last_.guest;
        if (offset < last_.size && last_.size - offset >= size && last_.writable)
            return last_.host + offset;
        return Slow(guest, size, true);
    }
    const std::vector<MemoryRegion> &Regions() const { return regions_; }

    // Inside the stand-in's process the guest may also reach the host's own
    // memory (a structure the host passes, a block the host allocated):
    // where no region holds an address, OUTSIDE is asked for the host's
    // range around it, guest == host. Its answer is kept until
    // ForgetOutside(), which the stand-in calls after every host call.
    std::function<bool(uint32_t guest, MemoryRegion &region)> outside;
    void ForgetOutside()
    {
        if (last_outside_)
            last_ = MemoryRegion{0, 0, nullptr, false};
        last_outside_ = false;
    }
    // Where MapOwned takes its bytes: the stand-in allocates them at the
    // guest address itself (NULL where that range is taken); by default the
    // memory allocates them anywhere and owns them.
    std::function<uint8_t *(uint32_t guest, uint32_t size)> allocate;

private:
    uint8_t *Slow(uint32_t guest, uint32_t size, bool write, bool ask_outside = true);
    std::vector<MemoryRegion> regions_;
    std::vector<std::unique_ptr<uint8_t[]>> owned_;
    MemoryRegion last_ = {0, 0, nullptr, false};
    bool last_outside_ = false;
};
