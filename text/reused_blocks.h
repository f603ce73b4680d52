// Heap blocks for whole files and the texts made from them. Large blocks freed here are kept for
// the thread's next file rather than returned: filling fresh pages costs more than the work done
// on them, and the heap does not reliably hand a freed block back for the next file of about the
// same size. Blocks come from the C heap (malloc family) either way.
#pragma once

#include <cstddef>

// A block of at least `size` bytes (a kept one if one is large enough); null when memory runs
// out. Its usable size may exceed `size`.
void* AllocateBlock(size_t size);

// Frees a block of the C heap, keeping it for the thread's next AllocateBlock when it is large.
void FreeBlock(void* block);
