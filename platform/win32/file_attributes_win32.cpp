#include <windows.h>

#include <optional>

#include "platform/file_attributes.h"
#include "platform/win32/wide.h"
#include "platform/windows_attribute_bits.h"

namespace platform {
namespace {

static_assert(kAttributeReadOnly == FILE_ATTRIBUTE_READONLY &&
              kAttributeArchive == FILE_ATTRIBUTE_ARCHIVE &&
              kAttributeNormal == FILE_ATTRIBUTE_NORMAL);

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

bool ClearAttributesForWrite(const std::u16string& path, const FileAttributes& attributes,
                             ErrorCode& error) {
  const std::optional<DWORD> value = AttributesForWrite(attributes.saved);
  return !value || SetAttributes(path, *value, error);
}

bool RestoreFileAttributes(const std::u16string& path, const FileAttributes& attributes,
                           bool written, ErrorCode& error) {
  const std::optional<DWORD> value = AttributesAfterWrite(attributes.saved, written);
  return !value || SetAttributes(path, *value, error);
}

}  // namespace platform
