// The guest's heap: blocks handed out inside one region of guest memory,
// as the device's runtime hands out malloc and LocalAlloc blocks inside its
// process. The bookkeeping lives on the host's side, so that a guest
// writing past a block cannot corrupt it; a free or resize of an address
// that is no block is refused (false), not guessed at.
#pragma once
#include <stdint.h>
#include <map>

#include "emulator/memory.h"

class GuestHeap {
public:
    // Maps SIZE bytes of heap at guest address BASE; false when that range
    // cannot be mapped.
    bool Create(Memory &memory, uint32_t base, uint32_t size);

    // A block of at least SIZE bytes, 8-aligned (a distinct one for 0);
    // 0 when the heap is full. ZERO clears it.
    uint32_t Allocate(uint32_t size, bool zero);
    // Frees BLOCK; false when it is no block of the heap (0 is none: true).
    bool Free(uint32_t block);
    // BLOCK resized to SIZE, its bytes kept up to the smaller size: the same
    // address where it can grow in place. 0 with BLOCK untouched when the
    // heap is full; *REFUSED when BLOCK is no block.
    uint32_t Resize(uint32_t block, uint32_t size, bool *refused);
    // The size asked for BLOCK; false when it is no block.
    bool SizeOf(uint32_t block, uint32_t *size) const;

    uint32_t BlocksInUse() const { return (uint32_t)used_.size(); }

private:
    static uint32_t Rounded(uint32_t size) { return size ? (size + 7) & ~7u : 8; }
    void Release(uint32_t at, uint32_t length);

    Memory *memory_ = nullptr;
    uint32_t base_ = 0, size_ = 0;
    struct Block {
        uint32_t asked, length;
    };
    std::map<uint32_t, Block> used_;       // by guest address
    std::map<uint32_t, uint32_t> free_;    // guest address -> length, coalesced
};
