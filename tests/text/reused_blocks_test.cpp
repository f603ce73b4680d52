#include "text/reused_blocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/heap_block.h"

namespace {

constexpr size_t kLarge = size_t{8} << 20;

TEST(ReusedBlocks, ALargeFreedBlockServesTheNextFileOfAboutItsSize) {
  const KeptBlocksScope scope;
  void* first = AllocateBlock(kLarge - 100);
  ASSERT_NE(first, nullptr);
  EXPECT_GE(platform::HeapBlockSize(first), kLarge);
  std::memset(first, 1, kLarge);
  FreeBlock(first);
  // A few bytes more still fit the kept block, which was asked for in whole steps.
  void* second = AllocateBlock(kLarge - 10);
  EXPECT_EQ(second, first);
  // Two blocks are kept: a file's bytes and the text made from them.
  void* third = AllocateBlock(kLarge);
  ASSERT_NE(third, nullptr);
  EXPECT_NE(third, second);
  FreeBlock(second);
  FreeBlock(third);
  void* again = AllocateBlock(kLarge);
  void* againToo = AllocateBlock(kLarge);
  EXPECT_TRUE((again == second && againToo == third) || (again == third && againToo == second));
  // A larger request than any kept block gets a new one.
  void* larger = AllocateBlock(4 * kLarge);
  ASSERT_NE(larger, nullptr);
  EXPECT_NE(larger, again);
  EXPECT_NE(larger, againToo);
  FreeBlock(again);
  FreeBlock(againToo);
  FreeBlock(larger);
  FreeBlock(nullptr);
}

TEST(ReusedBlocks, SmallBlocksAndOtherThreadsAreLeftAlone) {
  const KeptBlocksScope scope;
  void* small = AllocateBlock(100);
  ASSERT_NE(small, nullptr);
  FreeBlock(small);
  void* large = AllocateBlock(kLarge);
  FreeBlock(large);
  // Another thread keeps nothing without a scope of its own, and an inner scope changes nothing.
  std::thread([] {
    void* block = AllocateBlock(kLarge);
    FreeBlock(block);
  }).join();
  {
    const KeptBlocksScope inner;
  }
  void* mine = AllocateBlock(kLarge);
  EXPECT_EQ(mine, large);
  FreeBlock(mine);
}

}  // namespace
