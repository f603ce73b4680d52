#include "run/run_backups.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/path_queries.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "run/result_texts.h"
#include "text/text_format.h"

namespace {

std::u16string RunTime(const RunJournal& journal) {
  return DateText(platform::LocalCalendarTime(journal.started));
}

unsigned OutcomeText(RestoreOutcome outcome) {
  switch (outcome) {
    case RestoreOutcome::Restored:
    case RestoreOutcome::Unchanged:
      return IDS_RESTORED;
    case RestoreOutcome::ChangedSince:
      return IDS_SKIPPED_CHANGED;
    case RestoreOutcome::NameTaken:
      return IDS_SKIPPED_NAME_TAKEN;
    case RestoreOutcome::Missing:
      return IDS_SKIPPED_MISSING;
    case RestoreOutcome::BackupDamaged:
      return IDS_SKIPPED_BACKUP_DAMAGED;
    case RestoreOutcome::Failed:
      break;
  }
  return IDS_RESTORE_FAILED;
}

// The result row of one restored or skipped file.
std::unique_ptr<CFileResult> RowOf(const JournalEntry& entry, const RestoreResult& result) {
  auto row = std::make_unique<CFileResult>();
  const size_t separator = result.path.find_last_of(platform::kPathSeparator);
  row->folder = separator == std::u16string::npos ? std::u16string()
                                                  : result.path.substr(0, separator);
  row->name = separator == std::u16string::npos ? result.path : result.path.substr(separator + 1);
  row->typeName = platform::FileTypeName(row->name);
  row->size = result.size;
  row->modified = platform::LocalCalendarTime(entry.timesKnown ? entry.times.lastWrite
                                                               : platform::CurrentFileTime());
  if (result.outcome == RestoreOutcome::Failed) {
    std::u16string reason;
    FormatSystemError(result.error, reason);
    row->resultText = FormatString(IDS_RESTORE_FAILED, {reason});
  } else {
    row->resultText = platform::LoadText(OutcomeText(result.outcome));
  }
  row->listedWithoutMatches = true;
  return row;
}

}  // namespace

std::u16string BackupRootOf(const ProgramSettings& settings) {
  return BackupRoot(settings.backupDirectory);
}

std::unique_ptr<BackupStore> MakeRunBackup(const RunParameters& parameters) {
  if (!parameters.settings.makeBackup || parameters.action == ActionType::FindOnly)
    return nullptr;
  RunJournal run;
  run.started = platform::CurrentFileTime();
  run.action = static_cast<std::int32_t>(parameters.action);
  run.renameMode = parameters.renameMode;
  for (const std::u16string& path : parameters.searchPaths)
    run.searchPaths += (run.searchPaths.empty() ? u"" : u", ") + path;
  return std::make_unique<BackupStore>(BackupRootOf(parameters.settings), std::move(run));
}

int HalfDoneFileCount(const RunJournal& journal) {
  return static_cast<int>(
      std::count_if(journal.entries.begin(), journal.entries.end(), MayBeHalfDone));
}

std::u16string UndoQuestion(const RunFolder& run) {
  return FormatString(IDS_UNDO_QUESTION, {RunTime(run.journal), run.journal.searchPaths,
                                          UndoableFileCount(run.journal)});
}

std::u16string RecoverQuestion(const RunFolder& run) {
  return FormatString(IDS_RECOVER_QUESTION, {RunTime(run.journal), run.journal.searchPaths,
                                             HalfDoneFileCount(run.journal)});
}

std::u16string RecoverRestQuestion(const RunFolder& run) {
  const int rest = UndoableFileCount(run.journal) - HalfDoneFileCount(run.journal);
  if (HalfDoneFileCount(run.journal) == 0)
    return FormatString(IDS_RECOVER_COMPLETED_QUESTION,
                        {RunTime(run.journal), run.journal.searchPaths, rest});
  return FormatString(IDS_RECOVER_REST_QUESTION, {rest});
}

SearchWorker::Job MakeUndoJob(RunRestore& restore, UndoScope scope) {
  return [&restore, scope](SearchWorker& worker) {
    RunJournal& journal = restore.journal();
    // Newest first, so that a name a later rename took is free again for an earlier one.
    std::vector<JournalEntry*> entries = EntriesToRestore(journal, !scope.rest);
    if (!scope.halfDone)
      std::erase_if(entries, [](const JournalEntry* entry) { return MayBeHalfDone(*entry); });
    for (JournalEntry* entry : entries) {
      if (worker.StopRequested())
        return;
      const RestoreResult result = restore.Restore(*entry);
      worker.SendFileResult(result.outcome == RestoreOutcome::Failed ? ResultStatus::FileError
                                                                     : ResultStatus::FileResult,
                            RowOf(*entry, result));
    }
    if (scope.halfDone && scope.rest)
      restore.MarkUndone();
    else
      restore.MarkEnded();
  };
}
