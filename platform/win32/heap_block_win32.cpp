#include <windows.h>

#include <malloc.h>

#include "platform/heap_block.h"

namespace platform {

size_t HeapBlockSize(void* block) { return block ? _msize(block) : 0; }

// The Windows heap decides itself when to return large blocks to the system.
void KeepFreedBlocksForReuse() {}

// Large pages of the Windows heap need a privilege users do not have: the heap's own pages serve.
void AdviseLargePages(void*, size_t) {}

size_t PhysicalMemorySize() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status))
    return 0;
  return static_cast<size_t>(status.ullTotalPhys);
}

}  // namespace platform
