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
  // The store may be null.
  FileBackup(BackupStore* store, std::u16string path, platform::FileAttributes attributes)
      : store_(store), path_(std::move(path)), attributes_(attributes) {}

  // Before the first byte of the open file changes: its original content, times and attributes
  // go to the store, staged. False with `reason` when they could not: the file must stay as it is.
  bool Stage(platform::File& file, std::span<const unsigned char> original,
             std::u16string& reason);
  // Whether the write must wait for the store's MakeDurable.
  bool Staged() const { return id_ != 0; }
  // The backup could not be made durable: the change is given up and the file stays as it is.
  void GiveUp();
  // After the write: it completed with `content`, or failed and the original is back.
  void After(bool written, std::span<const unsigned char> content);

 private:
  BackupStore* store_;
  std::u16string path_;
  platform::FileAttributes attributes_;
  int id_ = 0;
};
