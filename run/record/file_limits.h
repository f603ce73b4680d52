// The size and modification-time limits of a run's files (parsed and checked by
// run/file_limit_checks.h).
#pragma once

#include <cstdint>
#include <optional>

struct FileLimits {
  std::optional<std::uint64_t> minSize;  // smallest size taken, in bytes
  std::optional<std::uint64_t> maxSize;  // largest size taken
  std::optional<std::int64_t> newer;     // taken when modified at or after, in LocalSeconds
  std::optional<std::int64_t> older;     // taken when modified before

  bool any() const { return minSize || maxSize || newer || older; }
};
