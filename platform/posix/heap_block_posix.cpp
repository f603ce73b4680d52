#include <malloc.h>

#include "platform/heap_block.h"

namespace platform {

size_t HeapBlockSize(void* block) {
  return block ? malloc_usable_size(block) : 0;
}

}  // namespace platform
