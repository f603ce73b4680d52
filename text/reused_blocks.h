// Heap blocks for whole files and the texts made from them. While a KeptBlocksScope lives on a
// thread, large blocks freed there are kept for the thread's next file rather than returned:
// filling fresh pages costs more than the work done on them, and the heap does not reliably hand
// a freed block back for the next file of about the same size. Blocks come from the C heap
// (malloc family) either way.
#pragma once

#include <cstddef>

// Keeps up to two large blocks (a file's bytes and the text or bytes made from them) for the
// thread it was made on, and frees them when it ends. An inner scope leaves the outer one's.
class KeptBlocksScope {
 public:
  KeptBlocksScope();
  ~KeptBlocksScope();
  KeptBlocksScope(const KeptBlocksScope&) = delete;
  KeptBlocksScope& operator=(const KeptBlocksScope&) = delete;

  static constexpr int kCount = 2;

 private:
  friend void* AllocateBlock(size_t size);
  friend void FreeBlock(void* block);
  void* blocks_[kCount] = {};
  size_t sizes_[kCount] = {};
  bool installed_ = false;
};

// A block of at least `size` bytes (a kept one if one is large enough); null when memory runs
// out. Its usable size may exceed `size`.
void* AllocateBlock(size_t size);

// Frees a block of the C heap, keeping it for the thread's next AllocateBlock when it is large.
void FreeBlock(void* block);
