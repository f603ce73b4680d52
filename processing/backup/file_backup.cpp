#include "processing/backup/file_backup.h"

#include "processing/backup/backup_store.h"

bool FileBackup::Stage(platform::File& file, std::span<const unsigned char> original,
                       std::u16string& reason) {
  if (!store_)
    return true;
  platform::FileTimes times;
  platform::ErrorCode ignored = 0;
  const bool timesKnown = file.GetTimes(times, ignored);
  return store_->StageContent(JournalEntryKind::Content, path_, original, attributes_,
                              timesKnown ? &times : nullptr, id_, reason);
}

void FileBackup::GiveUp() {
  After(false, {});
}

void FileBackup::After(bool written, std::span<const unsigned char> content) {
  if (!store_ || id_ == 0)
    return;
  if (written)
    store_->MarkWritten(id_, content);
  else
    store_->MarkFailed(id_);
}
