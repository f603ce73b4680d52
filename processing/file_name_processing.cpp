#include "processing/file_name_processing.h"

#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_move.h"
#include "platform/name_in_folder.h"
#include "platform/path_separator.h"
#include "platform/recycle_bin.h"
#include "platform/string_table.h"
#include "processing/confirmation.h"
#include "processing/file_outcome.h"
#include "processing/search/plain_name_search.h"
#include "processing/search/regex_driver.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// An empty find text stands for the whole name: one match at (0, 0).
void ChangeWholeName(RunParameters& parameters, CFileResult& entry, std::u16string& newName) {
  const CFileResult::replace_info start{0, 0};
  if (parameters.action != ActionType::FindOnly && !AskConfirmation(parameters, start, entry))
    return;
  entry.matches.push_back(start);
  const std::u16string& replace = parameters.replaceText;
  switch (parameters.action) {
    case ActionType::FindOnly:
      break;
    case ActionType::Delete:
      newName.clear();
      break;
    case ActionType::AddToBeginning:
      newName = replace + newName;
      break;
    case ActionType::AddToEnd:
      newName += replace;
      break;
    case ActionType::Replace:
    case ActionType::PlaceBefore:
    case ActionType::PlaceAfter:
      newName = replace;
      break;
  }
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

FileOutcome Rename(const RunParameters& parameters, const CFileResult& entry,
                   const std::u16string& newName) {
  if (!StaysInFolder(newName))
    return FailedWith(FormatString(IDS_NEW_NAME_INVALID, {std::u16string_view(newName)}));
  // The changes gave the name back unchanged (a text replaced by itself): nothing to move.
  if (newName == entry.name)
    return MatchesFound(entry);
  const std::u16string path = FullPathOf(entry);
  const std::u16string newPath = platform::JoinPath(entry.folder, newName);
  const bool keepTimes = parameters.settings.keepFileDate != 0;
  SavedTimes saved;
  if (keepTimes)
    saved = ReadTimes(path);
  platform::ErrorCode error = 0;
  if (!platform::MoveFileNoReplace(path, newPath, error))
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
  if (newName.empty() && parameters.action == ActionType::Delete) {
    const bool deleted = platform::MoveToRecycleBin(path, parameters.ownerDialog, error);
    if (error != 0)
      return Failed(error);
    return Processed(platform::LoadText(deleted ? IDS_DELETED : IDS_DELETE_FAILED));
  }
  return Rename(parameters, entry, newName);
}
