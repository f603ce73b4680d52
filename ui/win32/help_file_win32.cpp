#include "ui/win32/help_file_win32.h"

#include <windows.h>

#include <shlwapi.h>

#include "platform/program_files.h"
#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "ui/help_file.h"

namespace {
constexpr DWORD kCurrentDirectoryBuffer = 261;
}

std::u16string HelpFileFolder() {
  wchar_t directory[kCurrentDirectoryBuffer] = {};
  GetCurrentDirectoryW(kCurrentDirectoryBuffer, directory);
  return HelpFolder(
      {platform::FromWide(directory), platform::ProgramFolder()}, platform::LoadText(IDS_HELP_FILE),
      [](const std::u16string& path) { return PathFileExistsW(platform::Wide(path)) != FALSE; });
}
