// The identity of a directory on its volume, the same for every path that leads to it through
// links: the volume serial and file id on Windows, device and inode on POSIX.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct DirectoryIdentity {
  std::uint64_t volume = 0;
  // The file id in 128 bits: on ReFS only the whole id tells two folders apart.
  std::uint64_t idLow = 0;
  std::uint64_t idHigh = 0;

  bool operator==(const DirectoryIdentity&) const = default;
};

// The identity of a volume and file id; false for an id of 0, which some file systems (network
// ones among them) give to every file: the folder's identity is then unknown.
bool MakeDirectoryIdentity(std::uint64_t volume, std::uint64_t idLow, std::uint64_t idHigh,
                           DirectoryIdentity& identity);

// The identity of the directory that the path leads to; false when it cannot be read or is
// unknown.
bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity);

}  // namespace platform
