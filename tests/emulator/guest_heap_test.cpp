// The guest's heap: blocks inside its region, freed and coalesced, resized
// in place where they can grow, refused where an address is no block.
#include "emulator/guest_heap.h"
#include <gtest/gtest.h>
#include <string.h>

namespace {

const uint32_t kBase = 0x40000000u, kSize = 4096;

struct GuestHeapTest : ::testing::Test {
    Memory memory;
    GuestHeap heap;
    void SetUp() override { ASSERT_TRUE(heap.Create(memory, kBase, kSize)); }
};

TEST_F(GuestHeapTest, BlocksAreAlignedDistinctAndInsideTheRegion)
{
    uint32_t a = heap.Allocate(0, false), b = heap.Allocate(13, true), c = heap.Allocate(8, false);
    for (uint32_t block : {a, b, c}) {
        EXPECT_EQ(block % 8, 0u);
        EXPECT_GE(block, kBase);
        EXPECT_LT(block, kBase + kSize);
    }
    EXPECT_NE(a, b);
    EXPECT_EQ(c - b, 16u);   // 13 bytes take two 8-byte units
    uint32_t size = 0;
    ASSERT_TRUE(heap.SizeOf(b, &size));
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(heap.Allocate(kSize, false), 0u);   // more than is left
}

TEST_F(GuestHeapTest, FreedNeighboursCoalesceIntoOneBlock)
{
    uint32_t a = heap.Allocate(1000, false), b = heap.Allocate(1000, false), c = heap.Allocate(1000, false);
    ASSERT_TRUE(a && b && c);
    EXPECT_TRUE(heap.Free(a));
    EXPECT_TRUE(heap.Free(c));
    EXPECT_TRUE(heap.Free(b));
    EXPECT_EQ(heap.BlocksInUse(), 0u);
    EXPECT_EQ(heap.Allocate(kSize, false), kBase);   // the whole region again
}

TEST_F(GuestHeapTest, ResizeKeepsTheBytesAndGrowsInPlaceWhereItCan)
{
    uint32_t a = heap.Allocate(16, false);
    memcpy(memory.Write(a, 16), "0123456789abcdef", 16);
    bool refused = true;
    EXPECT_EQ(heap.Resize(a, 64, &refused), a);   // the space after it is free
    EXPECT_FALSE(refused);
    uint32_t b = heap.Allocate(8, false);
    uint32_t moved = heap.Resize(a, 256, &refused);
    ASSERT_NE(moved, 0u);
    EXPECT_NE(moved, a);
    EXPECT_EQ(memcmp(memory.Read(moved, 16), "0123456789abcdef", 16), 0);
    EXPECT_EQ(heap.Resize(moved, 8, &refused), moved);
    EXPECT_EQ(heap.Resize(0, 8, &refused) % 8, 0u);   // resizing nothing allocates
    EXPECT_TRUE(heap.Free(b));
}

TEST_F(GuestHeapTest, AddressesThatAreNoBlockAreRefused)
{
    uint32_t a = heap.Allocate(32, false);
    bool refused = false;
    uint32_t size;
    EXPECT_TRUE(heap.Free(0));
    EXPECT_FALSE(heap.Free(a + 8));
    EXPECT_FALSE(heap.SizeOf(a + 8, &size));
    EXPECT_EQ(heap.Resize(a + 8, 64, &refused), 0u);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(heap.Free(a));
    EXPECT_FALSE(heap.Free(a));   // twice
}

}  // namespace
