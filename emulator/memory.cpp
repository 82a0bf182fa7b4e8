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
        uint8_t *host = allocate(size);
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

bool Memory::Unmap(uint32_t guest)
{
    for (size_t k = 0; k < regions_.size(); k++) {
        if (regions_[k].guest != guest)
            continue;
        last_ = MemoryRegion{0, 0, nullptr, false};
        regions_.erase(regions_.begin() + (long)k);
        return true;
    }
    return false;
}

const MemoryRegion *Memory::RegionAt(uint32_t guest) const
{
    for (const MemoryRegion &r : regions_)
        if (guest - r.guest < r.size)
            return &r;
    return nullptr;
}

bool Memory::GuestOf(const void *host, uint32_t size, uint32_t &guest) const
{
    uintptr_t at = (uintptr_t)host;
    for (const MemoryRegion &r : regions_) {
        uintptr_t offset = at - (uintptr_t)r.host;
        if (at >= (uintptr_t)r.host && offset < r.size && r.size - offset >= size) {
            guest = r.guest + (uint32_t)offset;
            return true;
        }
    }
    return false;
}

uint8_t *Memory::Slow(uint32_t guest, uint32_t size, bool write)
{
    for (const MemoryRegion &r : regions_) {
        uint32_t offset = guest - r.guest;
        if (offset < r.size && r.size - offset >= size) {
            if (write && !r.writable)
                return nullptr;
            last_ = r;
            return r.host + offset;
        }
    }
    return nullptr;
}
