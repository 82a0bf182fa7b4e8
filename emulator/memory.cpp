// Guest memory regions: mapping, lookup and free ranges.
#include "emulator/memory.h"
#include <string.h>

// Whether [a, a + an) and [b, b + bn) share a byte, without wrapping.
static bool Overlaps(uint32_t a, uint32_t an, uint32_t b, uint32_t bn)
{
    return (uint64_t)a < (uint64_t)b + bn && (uint64_t)b < (uint64_t)a + an;
}

bool Memory::IsFree(uint32_t guest, uint32_t size) const
{
    for (const MemoryRegion &r : regions_)
        if (Overlaps(guest, size, r.guest, r.size))
            return false;
    return true;
}

bool Memory::Map(uint32_t guest, uint32_t size, uint8_t *host, bool writable)
{
    if (size == 0 || (uint64_t)guest + size > kGuestLimit || !IsFree(guest, size))
        return false;
    regions_.push_back({guest, size, host, writable});
    return true;
}

uint8_t *Memory::MapOwned(uint32_t guest, uint32_t size, bool writable)
{
    if (size == 0 || (uint64_t)guest + size > kGuestLimit || !IsFree(guest, size))
        return nullptr;
    if (allocate) {
        uint8_t *host = allocate(guest, size);
        if (host)
            regions_.push_back({guest, size, host, writable});
        return host;
    }
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
    memset(bytes.get(), 0, size);
    uint8_t *host = bytes.get();
    owned_.push_back(std::move(bytes));
    regions_.push_back({guest, size, host, writable});
    return host;
}

uint32_t Memory::FindFree(uint32_t from, uint32_t size, uint32_t align) const
{
    uint64_t at = ((uint64_t)from + align - 1) / align * align;
    while (at + size <= kGuestLimit) {
        bool moved = false;
        for (const MemoryRegion &r : regions_) {
            if (Overlaps((uint32_t)at, size, r.guest, r.size)) {
                at = ((uint64_t)r.guest + r.size + align - 1) / align * align;
                moved = true;
            }
        }
        if (!moved)
            return at == 0 ? 0 : (uint32_t)at;
    }
    return 0;
}

uint8_t *Memory::Slow(uint32_t guest, uint32_t size, bool write, bool ask_outside)
{
    for (const MemoryRegion &r : regions_) {
        uint32_t offset = guest - r.guest;
        if (offset < r.size && r.size - offset >= size) {
            if (write && !r.writable)
                return nullptr;
            last_ = r;
            last_outside_ = false;
            return r.host + offset;
        }
    }
    MemoryRegion r;
    if (ask_outside && outside && outside(guest, r)) {
        uint32_t offset = guest - r.guest;
        if (offset < r.size && r.size - offset >= size && (!write || r.writable)) {
            last_ = r;
            last_outside_ = true;
            return r.host + offset;
        }
    }
    return nullptr;
}
