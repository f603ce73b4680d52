#include <windows.h>

#include <vector>

#include "platform/absolute_path.h"
#include "platform/win32/wide.h"

namespace platform {

bool MakeAbsolutePath(const std::u16string& path, std::u16string& absolute) {
  if (path.empty())
    return false;
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetFullPathNameW(Wide(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0)
      return false;
    if (length < buffer.size()) {
      absolute = FromWide(buffer.data(), length);
      return true;
    }
    buffer.resize(length);  // the size needed, its terminating zero included
  }
}

}  // namespace platform
