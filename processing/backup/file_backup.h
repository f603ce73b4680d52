// The backup of one file's content around its write, for file processing: nothing at all when
// the run makes no backups.
#pragma once

#include <span>
#include <string>

#include "platform/file.h"
#include "platform/file_attributes.h"

class BackupStore;

class FileBackup {
 public:
  // The store may be null. Path and attributes must outlive the object.
  FileBackup(BackupStore* store, const std::u16string& path,
             const platform::FileAttributes& attributes)
      : store_(store), path_(path), attributes_(attributes) {}

  // Before the first byte of the open file changes: its original content, times and attributes
  // become durable. False with `reason` when they could not: the file must stay as it is.
  bool Before(platform::File& file, std::span<const unsigned char> original,
              std::u16string& reason);
  // After the write: it completed with `content`, or failed and the original is back.
  void After(bool written, std::span<const unsigned char> content);

 private:
  BackupStore* store_;
  const std::u16string& path_;
  const platform::FileAttributes& attributes_;
  int id_ = 0;
};
