#include <windows.h>

#include "platform/file_attributes.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

bool SetAttributes(const std::u16string& path, DWORD value, ErrorCode& error) {
  if (SetFileAttributesW(Wide(path), value))
    return true;
  error = GetLastError();
  return false;
}

}  // namespace

bool ReadFileAttributes(const std::u16string& path, FileAttributes& attributes, ErrorCode& error) {
  DWORD value = GetFileAttributesW(Wide(path));
  if (value == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    return false;
  }
  attributes.hidden = (value & FILE_ATTRIBUTE_HIDDEN) != 0;
  attributes.readOnly = (value & FILE_ATTRIBUTE_READONLY) != 0;
  attributes.saved = value;
  return true;
}

bool ClearAttributesForWrite(const std::u16string& path, const FileAttributes&, ErrorCode& error) {
  return SetAttributes(path, FILE_ATTRIBUTE_NORMAL, error);
}

bool RestoreFileAttributes(const std::u16string& path, const FileAttributes& attributes,
                           ErrorCode& error) {
  return SetAttributes(path, attributes.saved, error);
}

}  // namespace platform
