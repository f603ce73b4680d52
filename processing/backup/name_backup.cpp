#include "processing/backup/name_backup.h"

#include "platform/file.h"
#include "platform/system_error.h"
#include "processing/backup/backup_store.h"
#include "processing/whole_file.h"

bool NameBackup::BeforeRename(const std::u16string& path, const std::u16string& newPath,
                              std::u16string& reason) {
  return !store_ || store_->BackUpRename(path, newPath, id_, reason);
}

bool NameBackup::BeforeDeletion(const std::u16string& path,
                                const platform::FileAttributes& attributes,
                                std::u16string& reason) {
  if (!store_)
    return true;
  platform::File file;
  platform::ErrorCode error = 0;
  FileBytes bytes;
  platform::FileTimes times;
  bool timesKnown = false;
  if (file.Open(path, platform::FileAccess::Read, platform::FileShare::Read, error)) {
    platform::ErrorCode ignored = 0;
    timesKnown = file.GetTimes(times, ignored);
    error = ReadWholeFile(file, bytes);
  }
  if (error != 0) {
    FormatSystemError(error, reason);
    return false;
  }
  return store_->BackUpContent(JournalEntryKind::Deletion, path, bytes.view(), attributes,
                               timesKnown ? &times : nullptr, id_, reason);
}

void NameBackup::After(bool done) {
  if (!store_ || id_ == 0)
    return;
  if (done)
    store_->MarkDone(id_);
  else
    store_->MarkFailed(id_);
}
