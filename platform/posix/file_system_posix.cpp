#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/posix/utf8_path.h"

namespace platform {
namespace {

bool Failed(ErrorCode& error) {
  error = static_cast<ErrorCode>(errno);
  return false;
}

}  // namespace

bool CreateFolders(const std::u16string& path, ErrorCode& error) {
  const std::string utf8 = ToUtf8(path);
  struct stat status {};
  if (stat(utf8.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode))
      return true;
    error = ENOTDIR;
    return false;
  }
  const size_t slash = path.find_last_of(u'/');
  if (slash != std::u16string::npos && slash > 0 && !CreateFolders(path.substr(0, slash), error))
    return false;
  if (mkdir(utf8.c_str(), 0777) == 0 || errno == EEXIST)
    return true;
  return Failed(error);
}

bool RemoveFile(const std::u16string& path, ErrorCode& error) {
  return unlink(ToUtf8(path).c_str()) == 0 || Failed(error);
}

bool RemoveFolder(const std::u16string& path, ErrorCode& error) {
  return rmdir(ToUtf8(path).c_str()) == 0 || Failed(error);
}

bool PathExists(const std::u16string& path) {
  struct stat status {};
  return lstat(ToUtf8(path).c_str(), &status) == 0;
}

bool FreeDiskSpace(const std::u16string& path, std::uint64_t& free, ErrorCode& error) {
  struct statvfs volume {};
  if (statvfs(ToUtf8(path).c_str(), &volume) != 0)
    return Failed(error);
  free = static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
  return true;
}

bool SetSavedAttributes(const std::u16string& path, const FileAttributes& attributes,
                        ErrorCode& error) {
  return chmod(ToUtf8(path).c_str(), static_cast<mode_t>(attributes.saved)) == 0 || Failed(error);
}

}  // namespace platform
