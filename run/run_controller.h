// The main dialog's side of a run, without the dialog: Run, the handling of the worker's result
// and confirmation messages, Stop, Clear and the enabling of the controls around a run.
//
// Single-threaded: every member runs on the window thread. The worker reaches it only through a
// RunChannel that delivers each message on that thread while the worker waits (window messages
// in the GUI, QueuedRunChannel elsewhere); the window reaches the worker only through its stop
// event.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "run/record/file_result.h"
#include "run/message_pump.h"
#include "run/run_backups.h"
#include "run/prompt.h"
#include "run/run_command.h"
#include "run/run_message_handler.h"
#include "run/record/run_parameters.h"
#include "run/record/run_types.h"
#include "run/run_view.h"
#include "run/search_worker.h"
#include "run/skip_counts.h"
#include "text/program_settings.h"

class RunController : public RunMessageHandler {
 public:
  // The view, the prompt, the channel and the settings and recent folders it reads and records
  // must outlive the controller. ownerDialog is passed on to the run record as it is.
  RunController(RunView& view, Prompt& prompt, RunChannel& window, const ProgramSettings& settings,
                std::vector<std::u16string>& recentFolders, void* ownerDialog = nullptr);
  ~RunController() override;
  RunController(const RunController&) = delete;
  RunController& operator=(const RunController&) = delete;

  void SetChecks(RunChecks checks) { checks_ = std::move(checks); }
  // The owner that later runs pass on, for a window that exists only after construction.
  void SetOwnerDialog(void* ownerDialog) { ownerDialog_ = ownerDialog; }
  // Replaces SearchWorker::Start, for tests of a worker that cannot start.
  void SetWorkerStarter(std::function<bool(SearchWorker&, RunParameters&)> starter) {
    startWorker_ = std::move(starter);
  }

  // Run (ID_ACTION_RUN, IDC_RUN): checks the fields, clears the previous results and starts
  // the worker. Does nothing unless idle.
  void OnRun(const RunFields& fields);
  // Preview (ID_ACTION_PREVIEW, IDC_PREVIEW): a run that changes nothing and lists each file it
  // would change, each row ticked. Does nothing unless idle.
  void OnPreview(const RunFields& fields);
  // Apply (Run while a preview is shown): the preview's run over its ticked files only; a file
  // that changed since the preview is listed as left alone. Does nothing unless idle.
  void OnApply();
  // Whether the rows are those of a preview (listing or shown).
  bool previewShown() const { return preview_; }
  // A changed field ends the preview: the rows stay, without their ticks, and Run runs again.
  void LeavePreview();
  // The tick of the preview row of results[index]; false outside a preview.
  bool IsTicked(size_t index) const;
  void SetTicked(size_t index, bool ticked);

  // Stop (ID_ACTION_STOP, IDC_STOP, the file limit): only signals the worker.
  void OnStop();
  // Clear (ID_ACTION_CLEAR): drops the results and empties the text fields, when idle.
  void OnClear();
  // Undo (ID_ACTION_UNDO): asks once, then takes back the newest run not undone yet, on the
  // worker, reporting each file. Does nothing unless idle.
  void OnUndo();
  // Whether Undo can start: idle, and a run to take back exists.
  bool CanUndo() const;
  // Crash recovery: when a run's process died, says so and asks; the answers choose what goes
  // back, on the worker. False when no run was interrupted.
  bool OfferRecovery();
  // Enables the dialog for idle (true) or for a run (false).
  void SetRunningUi(bool idle);

  void OnResultMessage(ResultMessage message) override;
  ConfirmAnswer OnConfirmMessage(const CFileResult::replace_info& position,
                                 const CFileResult& file) override;

  // Stops a run and serves the worker's messages until its completion message has arrived, so
  // that the worker is done with the window, the record and the channel. The owner calls it
  // before any of them goes away, the window in particular.
  void StopAndWait(MessagePump& pump);

  RunState runState() const { return runState_; }
  const std::vector<std::unique_ptr<CFileResult>>& results() const { return results_; }
  const RunParameters& parameters() const { return parameters_; }
  // The files the current or last run passed over.
  const SkipCounts& skipCounts() const { return skipCounts_; }
  SearchWorker& worker() { return worker_; }

 private:
  void StartRun(const RunFields& fields, bool preview, const AppliedFiles* applyOnly);
  void OnFileResult(std::unique_ptr<CFileResult> result);
  // Keeps what the preview row needs of the result, and drops its bytes.
  void KeepPreviewRow(CFileResult& result);
  // Clears the results, sets up the window for a run and starts the worker (with a job when
  // given); false, with the reason shown, when it could not start.
  bool StartWorker(SearchWorker::Job job);
  bool StartUndo(const RunFolder& run, UndoScope scope);

  RunView& view_;
  Prompt& prompt_;
  RunChannel& window_;
  const ProgramSettings& settings_;
  std::vector<std::u16string>& recentFolders_;
  void* ownerDialog_;
  RunChecks checks_;
  std::function<bool(SearchWorker&, RunParameters&)> startWorker_;

  RunState runState_ = RunState::Idle;
  std::vector<std::unique_ptr<CFileResult>> results_;
  // A preview's rows, one per result: how the preview saw the file, and its tick.
  struct PreviewRow {
    PreviewedFile seen;
    bool ticked = true;
  };
  bool preview_ = false;
  bool previewLeft_ = false;
  std::vector<PreviewRow> previewRows_;
  RunFields previewFields_;
  // The files of the current or last apply, which parameters_.applyOnly points at.
  AppliedFiles applied_;
  SkipCounts skipCounts_;
  RunParameters parameters_;
  // The current run's backups, or the run an undo takes back; the worker uses them until its
  // completion message.
  std::unique_ptr<BackupStore> backup_;
  std::unique_ptr<RunRestore> restore_;
  // Declared after the records it reads, so that it is destroyed first.
  SearchWorker worker_;
};
