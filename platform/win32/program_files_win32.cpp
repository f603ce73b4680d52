#include <stdio.h>
#include <windows.h>

#include <vector>

#include "platform/program_files.h"
#include "platform/win32/wide.h"

namespace platform {

std::u16string ProgramFolder() {
  // The path may be longer than MAX_PATH where long paths are enabled.
  std::vector<wchar_t> path(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return std::u16string();
    if (length < path.size()) {
      const std::u16string file = FromWide(path.data(), length);
      const size_t separator = file.find_last_of(u"\\/");
      return separator == std::u16string::npos ? std::u16string() : file.substr(0, separator);
    }
    if (path.size() >= 32768)
      return std::u16string();
    path.resize(path.size() * 2);
  }
}

TextStream OpenTextForReading(const std::u16string& path) {
  return TextStream(_wfopen(Wide(path), L"r"));
}

}  // namespace platform
