#include <malloc.h>

#include <climits>

#include "platform/heap_block.h"

namespace platform {

size_t HeapBlockSize(void* block) { return block ? malloc_usable_size(block) : 0; }

void KeepFreedBlocksForReuse() {
  // Large blocks would otherwise be mapped and unmapped for every file.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, INT_MAX);
}

}  // namespace platform
