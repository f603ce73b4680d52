// Blocks of the C heap allocator: their usable size, which may exceed the size asked for, and
// how the heap treats the large blocks that whole files are read into.
#pragma once

#include <cstddef>

namespace platform {

size_t HeapBlockSize(void* block);

// Lets the heap keep freed large blocks for the next file instead of returning them to the
// system, whose fresh pages cost more to fill than the file takes to decode. Process-wide and
// idempotent; a run calls it before it reads files.
void KeepFreedBlocksForReuse();

// Asks the system to back a fresh large block with large pages where it can, so that filling it
// takes a page fault per 2 MiB rather than per 4 KiB. A hint: nothing happens where the system
// has no such pages to give.
void AdviseLargePages(void* block, size_t size);

// The bytes of physical memory the machine has, or 0 when the system does not say.
size_t PhysicalMemorySize();

}  // namespace platform
