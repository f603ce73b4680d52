// Folders and files as a whole, for the backup store: creating, removing, free space, and
// putting back a file's saved attributes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_attributes.h"
#include "platform/system_error.h"

namespace platform {

// Creates the folder and any missing folders above it; true when it exists afterwards.
bool CreateFolders(const std::u16string& path, ErrorCode& error);
bool RemoveFile(const std::u16string& path, ErrorCode& error);
// Removes an empty folder.
bool RemoveFolder(const std::u16string& path, ErrorCode& error);
// Whether a file or folder of that path exists (a link counts, even one to nowhere).
bool PathExists(const std::u16string& path);
// The bytes free for this process on the volume of the path.
bool FreeDiskSpace(const std::u16string& path, std::uint64_t& free, ErrorCode& error);
// Sets the attributes exactly as ReadFileAttributes saved them (bits on Windows, mode on POSIX).
bool SetSavedAttributes(const std::u16string& path, const FileAttributes& attributes,
                        ErrorCode& error);

}  // namespace platform
