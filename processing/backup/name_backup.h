// The backup of one file around a rename or a deletion by name, for rename mode: nothing at
// all when the run makes no backups.
#pragma once

#include <string>

#include "platform/file_attributes.h"

class BackupStore;

class NameBackup {
 public:
  explicit NameBackup(BackupStore* store) : store_(store) {}

  // Before the move: the old and the new name become durable. False with `reason` otherwise.
  bool BeforeRename(const std::u16string& path, const std::u16string& newPath,
                    std::u16string& reason);
  // Before the deletion: the file's content, times and attributes, read here, become durable.
  bool BeforeDeletion(const std::u16string& path, const platform::FileAttributes& attributes,
                      std::u16string& reason);
  // The move or deletion happened, or not.
  void After(bool done);

 private:
  BackupStore* store_;
  int id_ = 0;
};
