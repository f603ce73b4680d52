#include <malloc.h>

#include "platform/heap_block.h"

namespace platform {

size_t HeapBlockSize(void* block) { return block ? _msize(block) : 0; }

// The Windows heap decides itself when to return large blocks to the system.
void KeepFreedBlocksForReuse() {}

}  // namespace platform
