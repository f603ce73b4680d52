#include "processing/file_name_processing.h"

#include "platform/directory_identity.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_move.h"
#include "platform/path_separator.h"
#include "platform/recycle_bin.h"
#include "platform/string_table.h"
#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "processing/file_preview.h"
#include "processing/name_in_folder.h"
#include "processing/plain_name_search.h"
#include "run/search_worker.h"
#include "text/regex/regex_driver.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

void Report(SearchWorker& worker, std::unique_ptr<CFileResult> entry, ResultStatus status,
            std::u16string text) {
  entry->resultText = std::move(text);
  worker.SendFileResult(status, std::move(entry));
}

void ReportSystemError(SearchWorker& worker, std::unique_ptr<CFileResult> entry,
                       platform::ErrorCode error) {
  std::u16string text;
  FormatSystemError(error, text);
  Report(worker, std::move(entry), ResultStatus::FileError, std::move(text));
}

// Status 1 with "%d matches found".
void ReportMatches(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  std::u16string text =
      FormatString(IDS_MATCHES_FOUND, {static_cast<std::int64_t>(entry->matches.size())});
  Report(worker, std::move(entry), ResultStatus::FileResult, std::move(text));
}

// An empty find text stands for the whole name: one match at (0, 0).
void ChangeWholeName(RunParameters& parameters, CFileResult& entry, std::u16string& newName) {
  const CFileResult::replace_info start{0, 0};
  const auto describe = [&] {
    return LinesOfChange(newName, 0, newName.size(),
                         WholeTextEdit(parameters.action, newName.size(), parameters.replaceText));
  };
  if (parameters.action != ActionType::FindOnly &&
      !AskConfirmation(parameters, start, entry, describe))
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
platform::ErrorCode ChangeNameByPattern(SearchWorker& worker, CFileResult& entry,
                                        std::u16string& newName) {
  TextBuffer buffer;
  if (!TextBuffer::FromText(newName, buffer))
    return platform::kErrorOutOfMemory;
  const platform::ErrorCode error =
      ApplyRegexToText(*worker.parameters, entry, buffer, &worker.stopEvent);
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
// names this preview has already given and vacated.
void PreviewRename(SearchWorker& worker, std::unique_ptr<CFileResult> entry,
                   const std::u16string& path, const std::u16string& newPath,
                   const std::u16string& newName) {
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  // A name that differs in case only may lead to the file itself, which the move renames.
  platform::DirectoryIdentity target, source;
  const bool itself = platform::GetDirectoryIdentity(newPath, target) &&
                      platform::GetDirectoryIdentity(path, source) && target == source;
  const bool taken = worker.producedPaths.contains(newPath) ||
                     (!worker.vacatedPaths.contains(newPath) && !itself &&
                      platform::ReadFileAttributes(newPath, attributes, error));
  if (taken) {
    ReportSystemError(worker, std::move(entry), platform::kErrorFileExists);
    return;
  }
  worker.producedPaths.insert(newPath);
  worker.vacatedPaths.erase(newPath);
  worker.vacatedPaths.insert(path);
  RecordNamePreview(*entry, newName);
  ReportMatches(worker, std::move(entry));
}

void Rename(SearchWorker& worker, std::unique_ptr<CFileResult> entry,
            const std::u16string& newName) {
  if (!StaysInFolder(newName)) {
    Report(worker, std::move(entry), ResultStatus::FileError,
           FormatString(IDS_NEW_NAME_INVALID, {std::u16string_view(newName)}));
    return;
  }
  // The changes gave the name back unchanged (a text replaced by itself): nothing to move.
  if (newName == entry->name) {
    ReportMatches(worker, std::move(entry));
    return;
  }
  const std::u16string path = FullPathOf(*entry);
  const std::u16string newPath = platform::JoinPath(entry->folder, newName);
  if (worker.parameters->preview) {
    PreviewRename(worker, std::move(entry), path, newPath, newName);
    return;
  }
  const bool keepTimes = worker.parameters->settings.keepFileDate != 0;
  SavedTimes saved;
  if (keepTimes)
    saved = ReadTimes(path);
  platform::ErrorCode error = 0;
  if (!platform::MoveFileNoReplace(path, newPath, error)) {
    ReportSystemError(worker, std::move(entry), error);
    return;
  }
  worker.producedPaths.insert(newPath);
  if (keepTimes)
    RestoreTimes(newPath, saved);
  // The entry keeps the name the file had when it was found.
  ReportMatches(worker, std::move(entry));
}

}  // namespace

void ProcessFileName(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  RunParameters& parameters = *worker.parameters;
  if (!parameters.confirmReplace)
    parameters.confirmState = ConfirmAnswer::YesToAll;

  const std::u16string path = FullPathOf(*entry);
  std::u16string newName = entry->name;
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  if (!platform::ReadFileAttributes(path, attributes, error)) {
    ReportSystemError(worker, std::move(entry), error);
    return;
  }
  if (!parameters.settings.replaceReadOnly && attributes.readOnly) {
    Report(worker, std::move(entry), ResultStatus::FileError,
           platform::LoadText(IDS_FILE_READ_ONLY));
    return;
  }
  if (!parameters.settings.searchHidden && attributes.hidden) {
    Report(worker, std::move(entry), ResultStatus::FileError, platform::LoadText(IDS_FILE_HIDDEN));
    return;
  }

  if (parameters.findText.empty()) {
    ChangeWholeName(parameters, *entry, newName);
  } else if (parameters.useRegex) {
    error = ChangeNameByPattern(worker, *entry, newName);
    if (error != 0) {
      ReportSystemError(worker, std::move(entry), error);
      return;
    }
  } else {
    SearchNamePlain(parameters, *entry, newName);
  }

  if (entry->matches.empty() || parameters.action == ActionType::FindOnly) {
    ReportMatches(worker, std::move(entry));
  } else if (newName.empty() && parameters.action == ActionType::Delete && parameters.preview) {
    worker.vacatedPaths.insert(path);
    RecordNamePreview(*entry, newName);
    Report(worker, std::move(entry), ResultStatus::FileResult, platform::LoadText(IDS_DELETED));
  } else if (newName.empty() && parameters.action == ActionType::Delete) {
    const bool deleted = platform::MoveToRecycleBin(path, parameters.ownerDialog, error);
    if (error != 0)
      ReportSystemError(worker, std::move(entry), error);
    else
      Report(worker, std::move(entry), ResultStatus::FileResult,
             platform::LoadText(deleted ? IDS_DELETED : IDS_DELETE_FAILED));
  } else {
    Rename(worker, std::move(entry), newName);
  }
}
