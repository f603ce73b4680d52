#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/recycle_bin.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {
namespace {

constexpr wchar_t kExplorerPolicies[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr wchar_t kVolumeBins[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\";
constexpr ULONGLONG kMegabyte = 1024 * 1024;

bool ReadDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD& data) {
  DWORD size = sizeof data;
  return RegGetValueW(root, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &data, &size) ==
         ERROR_SUCCESS;
}

// The root of the volume that holds the path, with its trailing backslash.
bool VolumeRoot(const std::u16string& path, std::wstring& root) {
  std::vector<wchar_t> buffer(path.size() + 2);
  if (!GetVolumePathNameW(Wide(path), buffer.data(), static_cast<DWORD>(buffer.size())))
    return false;
  root = buffer.data();
  return true;
}

// Whether the path is on a drive letter made by subst, whose target QueryDosDeviceW gives as
// "\??\C:\folder" where a volume's is "\Device\…". Only real Windows has such drives.
bool OnSubstDrive(const std::u16string& path) {
  if (path.size() < 2 || path[1] != u':')
    return false;
  const std::u16string drive = path.substr(0, 2);
  std::vector<wchar_t> target(MAX_PATH);
  while (QueryDosDeviceW(Wide(drive), target.data(), static_cast<DWORD>(target.size())) == 0) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || target.size() >= 32768)
      return false;
    target.resize(target.size() * 2);
  }
  return std::wstring_view(target.data()).starts_with(L"\\??\\");
}

// Whether the shell keeps a recycle bin on the volume at all: only fixed drives have one;
// network shares, removable media and subst drives (which show a fixed drive's type) delete for
// good.
bool VolumeHasBin(const std::u16string& path, const std::wstring& root) {
  if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED || OnSubstDrive(path))
    return false;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  return SHQueryRecycleBinW(root.c_str(), &info) == S_OK;
}

// The settings under which the shell deletes a file for good although asked to recycle it:
// recycling turned off by policy or for the volume, or a file larger than the volume's bin.
bool BinTakesFileOfSize(const std::wstring& root, ULONGLONG size) {
  DWORD value = 0;
  for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    if (ReadDword(hive, kExplorerPolicies, L"NoRecycleFiles", value) && value != 0)
      return false;
  }
  wchar_t volumeName[MAX_PATH] = {};
  if (!GetVolumeNameForVolumeMountPointW(root.c_str(), volumeName, MAX_PATH))
    return true;
  // "\\?\Volume{GUID}\": the settings key is named by the GUID with its braces.
  std::wstring name = volumeName;
  const size_t open = name.find(L'{');
  const size_t close = name.find(L'}');
  if (open == std::wstring::npos || close == std::wstring::npos || close < open)
    return true;
  const std::wstring key = kVolumeBins + name.substr(open, close - open + 1);
  if (ReadDword(HKEY_CURRENT_USER, key, L"NukeOnDelete", value) && value != 0)
    return false;
  if (ReadDword(HKEY_CURRENT_USER, key, L"MaxCapacity", value) && size > value * kMegabyte)
    return false;
  return true;
}

}  // namespace

bool MoveToRecycleBin(const std::u16string& path, void* ownerWindow, ErrorCode& error) {
  switch (CheckShellPath(path)) {
    case ShellPathFault::None:
      error = 0;
      break;
    case ShellPathFault::NotFullyQualified:
      error = ERROR_BAD_PATHNAME;
      return false;
    case ShellPathFault::TooLong:
      error = ERROR_FILENAME_EXCED_RANGE;
      return false;
    case ShellPathFault::NotAsTyped:
      error = ERROR_INVALID_NAME;
      return false;
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data))
    return false;
  const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  std::wstring root;
  // With FOF_NOCONFIRMATION the shell deletes for good, without a word, whatever it cannot
  // recycle; such a file is left alone instead.
  if (!VolumeRoot(path, root) || !VolumeHasBin(path, root) || !BinTakesFileOfSize(root, size))
    return false;

  // The source list ends with two zero units.
  std::u16string source = path;
  source.push_back(u'\0');
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = static_cast<HWND>(ownerWindow);
  operation.wFunc = FO_DELETE;
  operation.pFrom = Wide(source);
  operation.pTo = nullptr;
  operation.fFlags =
      FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
  return SHFileOperationW(&operation) == 0;
}

}  // namespace platform
