// Guest memory: a few flat regions, each a guest address range backed by
// host bytes anywhere in the host's address space. The guest's addresses
// are its own: a region's host bytes lie wherever the host put them. The
// last region hit is tried first.
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
    // Unmaps the region that starts at GUEST (one Map made); false when none.
    bool Unmap(uint32_t guest);
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
    // Where instructions are fetched: the same lookup as a read.
    uint8_t *Code(uint32_t guest, uint32_t size) { return Read(guest, size); }
    uint8_t *Write(uint32_t guest, uint32_t size) {
        uint32_t offset = guest - last_.guest;
        if (offset < last_.size && last_.size - offset >= size && last_.writable)
            return last_.host + offset;
        return Slow(guest, size, true);
    }
    const std::vector<MemoryRegion> &Regions() const { return regions_; }
    // The region holding GUEST, or NULL.
    const MemoryRegion *RegionAt(uint32_t guest) const;
    // The guest address of SIZE host bytes at HOST, all inside one region;
    // false when they are not guest memory.
    bool GuestOf(const void *host, uint32_t size, uint32_t &guest) const;

    // Where MapOwned takes its bytes (zeroed): the room allocates them from
    // the host's system, page-aligned as images need, for the process's
    // life; by default the memory allocates and owns them.
    std::function<uint8_t *(uint32_t size)> allocate;

private:
    uint8_t *Slow(uint32_t guest, uint32_t size, bool write);
    std::vector<MemoryRegion> regions_;
    std::vector<std::unique_ptr<uint8_t[]>> owned_;
    MemoryRegion last_ = {0, 0, nullptr, false};
};
