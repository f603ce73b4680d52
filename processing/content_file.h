// A file open for changing or searching its content: the handle, the content as read, how it is
// coded, the times to keep, its backup and the attributes cleared for its write. A changed file
// whose write waits for its backup to become durable keeps all of it, and the file open (others
// may only read it), until it is written.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/file.h"
#include "platform/file_attributes.h"
#include "processing/backup/file_backup.h"
#include "processing/file_coding.h"
#include "processing/whole_file.h"
#include "text/byte_buffer.h"

// Makes a read-only file writable for a changing run, and sets the saved attributes back when
// processing leaves, whichever way.
class WriteAttributes {
 public:
  WriteAttributes(std::u16string path, const platform::FileAttributes& attributes)
      : path_(std::move(path)), attributes_(attributes) {
    platform::ErrorCode ignored = 0;
    platform::ClearAttributesForWrite(path_, attributes_, ignored);
  }
  ~WriteAttributes() {
    platform::ErrorCode ignored = 0;
    platform::RestoreFileAttributes(path_, attributes_, written, ignored);
  }
  WriteAttributes(const WriteAttributes&) = delete;
  WriteAttributes& operator=(const WriteAttributes&) = delete;

  bool written = false;

 private:
  std::u16string path_;
  platform::FileAttributes attributes_;
};

struct ContentFile {
  ContentFile(BackupStore* store, const std::u16string& path,
           const platform::FileAttributes& attributes)
      : backup(store, path, attributes) {}

  // Declared before the handle: set back once the file is closed.
  std::optional<WriteAttributes> writeAttributes;
  platform::File handle;
  FileBytes original;
  platform::FileTimes times;
  bool keepTimes = false;
  FileBackup backup;
  FileCoding coding;
  // The bytes a change writes, byte order mark included.
  ByteBuffer changed;
  // The change waits for its staged backup to become durable.
  bool writeWaits = false;

  // The bytes that hold the text: those after a byte order mark.
  std::span<const unsigned char> text() const { return coding.Text(original.view()); }
};
