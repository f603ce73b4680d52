#include "text/reused_blocks.h"

#include <cstdint>
#include <cstdlib>

#include "platform/heap_block.h"

namespace {

// Blocks from this size on are kept, and asked for in whole steps of it, so that one block
// serves files of about the same size.
constexpr size_t kLargeBlock = size_t{1} << 20;

// A file's bytes and the text or bytes made from them: two blocks at a time.
constexpr int kKeptCount = 2;

struct KeptBlocks {
  void* blocks[kKeptCount] = {};
  size_t sizes[kKeptCount] = {};
  ~KeptBlocks() {
    for (void* block : blocks)
      std::free(block);
  }
};

thread_local KeptBlocks kept;

}  // namespace

void* AllocateBlock(size_t size) {
  if (size < kLargeBlock)
    return std::malloc(size);
  int best = -1;
  for (int i = 0; i < kKeptCount; ++i) {
    if (kept.blocks[i] && kept.sizes[i] >= size && (best < 0 || kept.sizes[i] < kept.sizes[best]))
      best = i;
  }
  if (best >= 0) {
    void* block = kept.blocks[best];
    kept.blocks[best] = nullptr;
    kept.sizes[best] = 0;
    return block;
  }
  const size_t rounded =
      size > SIZE_MAX - kLargeBlock ? size : (size + kLargeBlock - 1) / kLargeBlock * kLargeBlock;
  return std::malloc(rounded);
}

void FreeBlock(void* block) {
  const size_t size = platform::HeapBlockSize(block);
  if (size < kLargeBlock) {
    std::free(block);
    return;
  }
  // Into an empty place, or in place of the smallest kept block when this one is larger.
  int smallest = 0;
  for (int i = 1; i < kKeptCount; ++i) {
    if (kept.sizes[i] < kept.sizes[smallest])
      smallest = i;
  }
  if (kept.sizes[smallest] >= size) {
    std::free(block);
    return;
  }
  std::free(kept.blocks[smallest]);
  kept.blocks[smallest] = block;
  kept.sizes[smallest] = size;
}
