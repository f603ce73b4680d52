#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/file_attributes.h"
#include "platform/posix/listed_folder.h"
#include "platform/posix/utf8_path.h"

namespace platform {
namespace {

bool ChangeMode(const std::u16string& path, mode_t mode, ErrorCode& error) {
  if (chmod(ToUtf8(path).c_str(), mode) == 0)
    return true;
  error = static_cast<ErrorCode>(errno);
  return false;
}

bool NameIsHidden(const std::u16string& path) {
  const size_t separator = path.rfind(u'/');
  const size_t nameStart = separator == std::u16string::npos ? 0 : separator + 1;
  return nameStart < path.size() && path[nameStart] == u'.';
}

}  // namespace

bool ReadSearchAttributes(const std::u16string& path, FileAttributes& attributes, ErrorCode&) {
  attributes = FileAttributes{};
  attributes.hidden = NameIsHidden(path);
  return true;
}

bool ReadFileAttributes(const std::u16string& path, FileAttributes& attributes, ErrorCode& error) {
  struct stat status {};
  const std::string utf8 = ToUtf8(path);
  const PathLookup lookup(utf8);
  if (!lookup.ReadStatus(status)) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  attributes.hidden = NameIsHidden(path);
  attributes.readOnly = (status.st_mode & S_IWUSR) == 0;
  attributes.saved = status.st_mode & 07777;
  return true;
}

// A file its owner may write already needs no change, and none to undo: the calls are skipped
// (a run makes them for every file). Nor does a restore then give back a set-user-ID bit that
// the kernel dropped when the content changed.
bool ClearAttributesForWrite(const std::u16string& path, const FileAttributes& attributes,
                             ErrorCode& error) {
  if (!attributes.readOnly)
    return true;
  return ChangeMode(path, static_cast<mode_t>(attributes.saved) | S_IWUSR, error);
}

bool RestoreFileAttributes(const std::u16string& path, const FileAttributes& attributes, bool,
                           ErrorCode& error) {
  if (!attributes.readOnly)
    return true;
  return ChangeMode(path, static_cast<mode_t>(attributes.saved), error);
}

}  // namespace platform
