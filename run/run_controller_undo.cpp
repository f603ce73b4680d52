// The controller's Undo and crash recovery.
#include "platform/string_table.h"
#include "run/run_controller.h"

bool RunController::CanUndo() const {
  return runState_ == RunState::Idle &&
         LatestUndoableRun(ListRunFolders(BackupRootOf(settings_))) != nullptr;
}

bool RunController::StartUndo(const RunFolder& run, UndoScope scope) {
  restore_ = std::make_unique<RunRestore>(run.folder, run.journal);
  platform::ErrorCode error = 0;
  if (!restore_->Open(error)) {
    std::u16string reason;
    FormatSystemError(error, reason);
    restore_.reset();
    prompt_.Show(reason, platform::LoadText(IDS_ERROR_CAPTION), PromptButtons::Ok);
    return false;
  }
  // The record of the last run serves the job: its window, no backups, no file limit.
  CopySettings(settings_, parameters_.settings);
  parameters_.settings.maxFilesShown = 0;
  parameters_.targetWindow = &window_;
  parameters_.ownerDialog = ownerDialog_;
  parameters_.backup = nullptr;
  parameters_.searchPaths.clear();
  if (StartWorker(MakeUndoJob(*restore_, scope)))
    return true;
  restore_.reset();
  return false;
}

void RunController::OnUndo() {
  if (runState_ != RunState::Idle)
    return;
  const std::vector<RunFolder> runs = ListRunFolders(BackupRootOf(settings_));
  const RunFolder* run = LatestUndoableRun(runs);
  const std::u16string caption = platform::LoadText(IDS_UNDO_CAPTION);
  if (!run) {
    prompt_.Show(platform::LoadText(IDS_NOTHING_TO_UNDO), caption, PromptButtons::Ok);
    return;
  }
  if (prompt_.Show(UndoQuestion(*run), caption, PromptButtons::OkCancel) != PromptAnswer::Ok)
    return;
  StartUndo(*run, UndoScope{});
}

bool RunController::OfferRecovery() {
  if (runState_ != RunState::Idle)
    return false;
  const std::vector<RunFolder> runs = ListRunFolders(BackupRootOf(settings_));
  const RunFolder* run = LatestInterruptedRun(runs);
  if (!run)
    return false;
  const std::u16string caption = platform::LoadText(IDS_RECOVER_CAPTION);
  UndoScope scope;
  const int halfDone = HalfDoneFileCount(run->journal);
  scope.halfDone = halfDone > 0 && prompt_.Show(RecoverQuestion(*run), caption,
                                                PromptButtons::OkCancel) == PromptAnswer::Ok;
  scope.rest = UndoableFileCount(run->journal) > halfDone &&
               prompt_.Show(RecoverRestQuestion(*run), caption, PromptButtons::OkCancel) ==
                   PromptAnswer::Ok;
  if (scope.halfDone || scope.rest)
    return StartUndo(*run, scope);
  // Nothing taken back: from now on the run counts as ended, and Undo can take it back later.
  RunRestore restore(run->folder, run->journal);
  platform::ErrorCode ignored = 0;
  if (restore.Open(ignored))
    restore.MarkEnded();
  return true;
}
