// The guest's heap: first fit over a coalesced free list.
#include "emulator/guest_heap.h"
#include <string.h>

bool GuestHeap::Create(Memory &memory, uint32_t base, uint32_t size)
{
    size &= ~7u;
    if (!size || !memory.MapOwned(base, size, true))
        return false;
    memory_ = &memory;
    base_ = base;
    size_ = size;
    free_[base] = size;
    return true;
}

uint32_t GuestHeap::Allocate(uint32_t size, bool zero)
{
    if (size > size_)
        return 0;
    uint32_t length = Rounded(size);
    for (auto k = free_.begin(); k != free_.end(); ++k) {
        if (k->second < length)
            continue;
        uint32_t at = k->first, left = k->second - length;
        free_.erase(k);
        if (left)
            free_[at + length] = left;
        used_[at] = Block{size, length};
        if (zero)
            memset(memory_->Write(at, length), 0, length);
        return at;
    }
    return 0;
}

void GuestHeap::Release(uint32_t at, uint32_t length)
{
    auto next = free_.lower_bound(at);
    if (next != free_.end() && next->first == at + length) {
        length += next->second;
        next = free_.erase(next);
    }
    if (next != free_.begin()) {
        auto previous = std::prev(next);
        if (previous->first + previous->second == at) {
            previous->second += length;
            return;
        }
    }
    free_[at] = length;
}

bool GuestHeap::Free(uint32_t block)
{
    if (!block)
        return true;
    auto found = used_.find(block);
    if (found == used_.end())
        return false;
    Release(block, found->second.length);
    used_.erase(found);
    return true;
}

uint32_t GuestHeap::Resize(uint32_t block, uint32_t size, bool *refused)
{
    *refused = false;
    if (!block)
        return Allocate(size, false);
    auto found = used_.find(block);
    if (found == used_.end()) {
        *refused = true;
        return 0;
    }
    Block &b = found->second;
    uint32_t length = Rounded(size);
    if (length <= b.length) {
        if (length < b.length)
            Release(block + length, b.length - length);
        b = Block{size, length};
        return block;
    }
    auto after = free_.find(block + b.length);
    if (after != free_.end() && b.length + after->second >= length) {
        uint32_t left = b.length + after->second - length;
        free_.erase(after);
        if (left)
            free_[block + length] = left;
        b = Block{size, length};
        return block;
    }
    uint32_t moved = Allocate(size, false);
    if (!moved)
        return 0;
    memcpy(memory_->Write(moved, length), memory_->Read(block, b.asked ? b.asked : 1), b.asked);
    Free(block);
    return moved;
}

bool GuestHeap::SizeOf(uint32_t block, uint32_t *size) const
{
    auto found = used_.find(block);
    if (found == used_.end())
        return false;
    *size = found->second.asked;
    return true;
}
