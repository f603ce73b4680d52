#include "processing/file_name_processing.h"

#include "platform/directory_identity.h"
#include "platform/directory_identity.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_move.h"
#include "platform/name_in_folder.h"
#include "platform/path_separator.h"
#include "platform/recycle_bin.h"
#include "platform/string_table.h"
#include "processing/backup/name_backup.h"
#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "processing/file_outcome.h"
#include "processing/file_preview.h"
#include "processing/search/plain_name_search.h"
#include "processing/search/regex_driver.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// An empty find text stands for the whole name: one match at (0, 0).
void ChangeWholeName(RunParameters& parameters, CFileResult& entry, std::u16string& newName) {
  const CFileResult::replace_info start{0, 0};
  const TextEdit edit = WholeTextEdit(parameters.action, newName.size(), parameters.replaceText);
  const auto describe = [&] { return LinesOfChange(newName, 0, newName.size(), edit); };
  if (parameters.action != ActionType::FindOnly &&
      !AskConfirmation(parameters, start, entry, describe))
    return;
  entry.matches.push_back(start);
  newName.replace(edit.start, edit.removed, edit.inserted);
}

// The regular expression search runs on a buffer holding the name; the new name is its text up
// to the first zero unit.
platform::ErrorCode ChangeNameByPattern(RunParameters& parameters, const platform::StopEvent& stop,
                                        CFileResult& entry, std::u16string& newName) {
  TextBuffer buffer;
  if (!TextBuffer::FromText(newName, buffer))
    return platform::kErrorOutOfMemory;
  const platform::ErrorCode error =
      ApplyRegexToText(parameters, entry, buffer, &stop);
  if (error != 0)
    return error;
  const std::u16string_view text = buffer.view();
  newName = text.substr(0, text.find(u'\0'));
  return 0;
}

// The three times of a file, read before a rename and set again after it.
struct SavedTimes {
  platform::FileTimes times;
  bool read = false;
};

SavedTimes ReadTimes(const std::u16string& path) {
  SavedTimes saved;
  platform::File file;
  platform::ErrorCode error = 0;
  saved.read = file.Open(path, platform::FileAccess::ReadWrite, platform::FileShare::Read, error) &&
               file.GetTimes(saved.times, error);
  return saved;
}

void RestoreTimes(const std::u16string& path, const SavedTimes& saved) {
  if (!saved.read)
    return;
  platform::File file;
  platform::ErrorCode error = 0;
  if (file.Open(path, platform::FileAccess::ReadWrite, platform::FileShare::Read, error))
    file.SetTimes(saved.times, error);
}

// A preview moves nothing: the move fails as it would when the new name is taken, counting the
// names this preview has already given and freed.
FileOutcome PreviewRename(const RunParameters& parameters, CFileResult& entry,
                          const std::u16string& path, const std::u16string& newPath,
                          const std::u16string& newName) {
  PreviewNames ignored;
  PreviewNames& names = parameters.previewNames ? *parameters.previewNames : ignored;
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  // A name that differs in case only may lead to the file itself, which the move renames.
  platform::DirectoryIdentity target, source;
  const bool itself = platform::GetDirectoryIdentity(newPath, target) &&
                      platform::GetDirectoryIdentity(path, source) && target == source;
  const bool taken = names.given.contains(newPath) ||
                     (!names.freed.contains(newPath) && !itself &&
                      platform::ReadFileAttributes(newPath, attributes, error));
  if (taken)
    return Failed(platform::kErrorFileExists);
  names.given.insert(newPath);
  names.freed.erase(newPath);
  names.freed.insert(path);
  RecordNamePreview(entry, newName);
  return MatchesFound(entry);
}

FileOutcome Rename(const RunParameters& parameters, CFileResult& entry,
                   const std::u16string& newName) {
  if (!StaysInFolder(newName))
    return FailedWith(FormatString(IDS_NEW_NAME_INVALID, {std::u16string_view(newName)}));
  // The changes gave the name back unchanged (a text replaced by itself): nothing to move.
  if (newName == entry.name)
    return MatchesFound(entry);
  const std::u16string path = FullPathOf(entry);
  const std::u16string newPath = platform::JoinPath(entry.folder, newName);
  if (parameters.preview)
    return PreviewRename(parameters, entry, path, newPath, newName);
  const bool keepTimes = parameters.settings.keepFileDate != 0;
  SavedTimes saved;
  if (keepTimes)
    saved = ReadTimes(path);
  NameBackup backup(parameters.backup);
  std::u16string reason;
  if (!backup.BeforeRename(path, newPath, reason))
    return FailedWith(FormatString(IDS_BACKUP_FAILED, {reason}));
  platform::ErrorCode error = 0;
  const bool moved = platform::MoveFileNoReplace(path, newPath, error);
  backup.After(moved);
  if (!moved)
    return Failed(error);
  if (keepTimes)
    RestoreTimes(newPath, saved);
  // The entry keeps the name the file had when it was found.
  FileOutcome outcome = MatchesFound(entry);
  outcome.producedPath = newPath;
  return outcome;
}

}  // namespace

FileOutcome ProcessName(RunParameters& parameters, const platform::StopEvent& stop,
                        CFileResult& entry) {
  if (!parameters.confirmReplace)
    parameters.confirmState = ConfirmAnswer::YesToAll;

  const std::u16string path = FullPathOf(entry);
  std::u16string newName = entry.name;
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  if (!platform::ReadFileAttributes(path, attributes, error))
    return Failed(error);
  if (!parameters.settings.replaceReadOnly && attributes.readOnly)
    return FailedWith(platform::LoadText(IDS_FILE_READ_ONLY));
  if (!parameters.settings.searchHidden && attributes.hidden)
    return FailedWith(platform::LoadText(IDS_FILE_HIDDEN));

  if (parameters.findText.empty()) {
    ChangeWholeName(parameters, entry, newName);
  } else if (parameters.useRegex) {
    error = ChangeNameByPattern(parameters, stop, entry, newName);
    if (error != 0)
      return Failed(error);
  } else {
    SearchNamePlain(parameters, entry, newName);
  }

  if (entry.matches.empty() || parameters.action == ActionType::FindOnly)
    return MatchesFound(entry);
  if (newName.empty() && parameters.action == ActionType::Delete && parameters.preview) {
    if (parameters.previewNames)
      parameters.previewNames->freed.insert(path);
    RecordNamePreview(entry, newName);
    return Processed(platform::LoadText(IDS_DELETED));
  }
  if (newName.empty() && parameters.action == ActionType::Delete) {
    NameBackup backup(parameters.backup);
    std::u16string reason;
    if (!backup.BeforeDeletion(path, attributes, reason))
      return FailedWith(FormatString(IDS_BACKUP_FAILED, {reason}));
    const bool deleted = platform::MoveToRecycleBin(path, parameters.ownerDialog, error);
    backup.After(deleted && error == 0);
    if (error != 0)
      return Failed(error);
    return Processed(platform::LoadText(deleted ? IDS_DELETED : IDS_DELETE_FAILED));
  }
  return Rename(parameters, entry, newName);
}
