#include "platform/directory_identity.h"

namespace platform {

bool MakeDirectoryIdentity(std::uint64_t volume, std::uint64_t idLow, std::uint64_t idHigh,
                           DirectoryIdentity& identity) {
  if (idLow == 0 && idHigh == 0)
    return false;
  identity = {volume, idLow, idHigh};
  return true;
}

}  // namespace platform
