// The identity of a directory on its volume, the same for every path that leads to it through
// links: the volume serial and file index on Windows, device and inode on POSIX.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct DirectoryIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;

  bool operator==(const DirectoryIdentity&) const = default;
};

// The identity of the directory that the path leads to; false when it cannot be read.
bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity);

}  // namespace platform
