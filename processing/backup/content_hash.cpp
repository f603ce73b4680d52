#include "processing/backup/content_hash.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

std::uint64_t ContentHash(std::span<const unsigned char> bytes) {
  return XXH3_64bits(bytes.data(), bytes.size());
}
