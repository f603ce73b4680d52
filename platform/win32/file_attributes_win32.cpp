#include <windows.h>

#include <optional>

#include "platform/file_attributes.h"
#include "platform/win32/wide.h"
#include "platform/windows_attribute_bits.h"
#include "platform/windows_paths.h"

namespace platform {
namespace {

static_assert(kAttributeReadOnly == FILE_ATTRIBUTE_READONLY &&
              kAttributeArchive == FILE_ATTRIBUTE_ARCHIVE &&
              kAttributeNormal == FILE_ATTRIBUTE_NORMAL);

// Missing from the headers for Windows 7: set on a cloud file whose data is online only.
constexpr DWORD kAttributeRecallOnDataAccess = 0x00400000;

bool SetAttributes(const std::u16string& path, DWORD value, ErrorCode& error) {
  if (SetFileAttributesW(Wide(Win32CallPath(path)), value))
    return true;
  error = GetLastError();
  return false;
}

}  // namespace

bool ReadSearchAttributes(const std::u16string& path, FileAttributes& attributes,
                          ErrorCode& error) {
  return ReadFileAttributes(path, attributes, error);
}

bool ReadFileAttributes(const std::u16string& path, FileAttributes& attributes, ErrorCode& error) {
  DWORD value = GetFileAttributesW(Wide(Win32CallPath(path)));
  if (value == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    return false;
  }
  attributes.hidden = (value & FILE_ATTRIBUTE_HIDDEN) != 0;
  attributes.readOnly = (value & FILE_ATTRIBUTE_READONLY) != 0;
  // Cloud providers such as OneDrive set the recall attribute; only real Windows has them.
  attributes.onlineOnly = (value & (kAttributeRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) != 0;
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
