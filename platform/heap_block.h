// The usable size of a block from the C heap allocator, which may exceed the size asked for.
#pragma once

#include <cstddef>

namespace platform {

size_t HeapBlockSize(void* block);

}  // namespace platform
