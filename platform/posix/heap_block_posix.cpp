#include <malloc.h>

#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>

#include "platform/heap_block.h"

namespace platform {

size_t HeapBlockSize(void* block) { return block ? malloc_usable_size(block) : 0; }

void KeepFreedBlocksForReuse() {
  // Large blocks would otherwise be mapped and unmapped for every file. One arena: a thread's own
  // arena cannot hold a block beyond 64 MB, which it would map afresh each time.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, INT_MAX);
}

void AdviseLargePages(void* block, size_t size) {
#ifdef MADV_HUGEPAGE
  // Only whole large pages inside the block; the heap's bookkeeping around it stays as it is.
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t begin = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (start + size) & ~(kLargePage - 1);
  if (block && end > begin)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)block;
  (void)size;
#endif
}

size_t PhysicalMemorySize() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0)
    return 0;
  return static_cast<size_t>(pages) * static_cast<size_t>(pageSize);
}

}  // namespace platform
