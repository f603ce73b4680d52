#include "text/reused_blocks.h"

#include <cstdint>
#include <cstdlib>

#include "platform/heap_block.h"

namespace {

// Blocks from this size on are kept, and asked for in whole steps of it, so that one block
// serves files of about the same size.
constexpr size_t kLargeBlock = size_t{1} << 20;

// The scope in force on this thread, if any. A plain pointer: nothing to destroy at thread exit.
thread_local KeptBlocksScope* kept = nullptr;

}  // namespace

KeptBlocksScope::KeptBlocksScope() {
  if (!kept) {
    kept = this;
    installed_ = true;
  }
}

KeptBlocksScope::~KeptBlocksScope() {
  if (!installed_)
    return;
  for (void* block : blocks_)
    std::free(block);
  kept = nullptr;
}

void* AllocateBlock(size_t size) {
  if (size < kLargeBlock || !kept)
    return std::malloc(size);
  int best = -1;
  for (int i = 0; i < KeptBlocksScope::kCount; ++i) {
    if (kept->blocks_[i] && kept->sizes_[i] >= size &&
        (best < 0 || kept->sizes_[i] < kept->sizes_[best]))
      best = i;
  }
  if (best >= 0) {
    void* block = kept->blocks_[best];
    kept->blocks_[best] = nullptr;
    kept->sizes_[best] = 0;
    return block;
  }
  const size_t rounded =
      size > SIZE_MAX - kLargeBlock ? size : (size + kLargeBlock - 1) / kLargeBlock * kLargeBlock;
  void* block = std::malloc(rounded);
  platform::AdviseLargePages(block, rounded);
  return block;
}

void FreeBlock(void* block) {
  const size_t size = platform::HeapBlockSize(block);
  if (size < kLargeBlock || !kept) {
    std::free(block);
    return;
  }
  // Into an empty place, or in place of the smallest kept block when this one is larger.
  int smallest = 0;
  for (int i = 1; i < KeptBlocksScope::kCount; ++i) {
    if (kept->sizes_[i] < kept->sizes_[smallest])
      smallest = i;
  }
  if (kept->sizes_[smallest] >= size) {
    std::free(block);
    return;
  }
  std::free(kept->blocks_[smallest]);
  kept->blocks_[smallest] = block;
  kept->sizes_[smallest] = size;
}
