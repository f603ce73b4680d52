#include "run/run_controller.h"

#include "platform/string_table.h"
#include "platform/system_error.h"
#include "processing/match_lines.h"
#include "processing/preview_check.h"
#include "run/result_texts.h"
#include "text/text_format.h"

RunController::RunController(RunView& view, Prompt& prompt, RunChannel& window,
                             const ProgramSettings& settings,
                             std::vector<std::u16string>& recentFolders, void* ownerDialog)
    : view_(view),
      prompt_(prompt),
      window_(window),
      settings_(settings),
      recentFolders_(recentFolders),
      ownerDialog_(ownerDialog),
      startWorker_(
          [](SearchWorker& worker, RunParameters& record) { return worker.Start(record); }) {}

RunController::~RunController() = default;

void RunController::OnRun(const RunFields& fields) {
  StartRun(fields, false, nullptr);
}

void RunController::OnPreview(const RunFields& fields) {
  RunFields previewed = fields;
  previewed.preview = true;
  StartRun(previewed, true, nullptr);
}

void RunController::OnApply() {
  if (runState_ != RunState::Idle || !preview_)
    return;
  AppliedFiles applied;
  for (size_t i = 0; i < results_.size() && i < previewRows_.size(); ++i) {
    if (previewRows_[i].ticked)
      applied.emplace(FullPathOf(*results_[i]), previewRows_[i].seen);
  }
  RunFields fields = previewFields_;
  fields.preview = false;
  // Not running, so no worker reads the previous set.
  applied_ = std::move(applied);
  StartRun(fields, false, &applied_);
}

void RunController::StartRun(const RunFields& fields, bool preview, const AppliedFiles* applyOnly) {
  if (runState_ != RunState::Idle)
    return;
  RunCommandContext context{settings_, recentFolders_, prompt_, checks_, &window_, ownerDialog_};
  if (!PrepareRun(fields, context, parameters_))
    return;
  parameters_.applyOnly = applyOnly;
  preview_ = preview;
  previewLeft_ = false;
  previewRows_.clear();
  if (preview)
    previewFields_ = fields;
  backup_ = parameters_.preview ? nullptr : MakeRunBackup(parameters_);
  parameters_.backup = backup_.get();
  StartWorker(nullptr);
}

void RunController::LeavePreview() {
  if (!preview_)
    return;
  // A field still editable during the run changed: the preview ends with the run.
  if (runState_ != RunState::Idle) {
    previewLeft_ = true;
    return;
  }
  preview_ = false;
  previewRows_.clear();
  SetRunningUi(true);
}

bool RunController::IsTicked(size_t index) const {
  return preview_ && index < previewRows_.size() && previewRows_[index].ticked;
}

void RunController::SetTicked(size_t index, bool ticked) {
  if (preview_ && index < previewRows_.size())
    previewRows_[index].ticked = ticked;
}

bool RunController::StartWorker(SearchWorker::Job job) {
  if (job) {
    parameters_.applyOnly = nullptr;
    preview_ = false;
    previewRows_.clear();
  }
  results_.clear();
  skipCounts_ = {};
  view_.ClearStatusEdit();
  SetRunningUi(false);
  view_.DeleteAllResultRows();
  view_.SetStatusText(platform::LoadText(IDS_IN_PROGRESS));

  // A view without lines keeps none: the run starts at the cap.
  parameters_.matchLineBytes = view_.ShowsMatchLines() ? 0 : kMatchLineBytesPerRun;
  window_.BeginRun(parameters_);
  if (job ? worker_.StartJob(parameters_, std::move(job)) : startWorker_(worker_, parameters_)) {
    runState_ = RunState::Running;
    return true;
  }
  // Without a worker no completion message will come: the dialog goes back to idle here.
  std::u16string reason;
  FormatSystemError(worker_.startError, reason);
  SetRunningUi(true);
  view_.SetStatusText(platform::LoadText(IDS_READY));
  prompt_.Show(FormatString(IDS_RUN_START_FAILED, {reason}), platform::LoadText(IDS_ERROR_CAPTION),
               PromptButtons::Ok);
  return false;
}

void RunController::OnStop() {
  if (runState_ != RunState::Running)
    return;
  runState_ = RunState::Stopping;
  view_.SetStatusText(platform::LoadText(IDS_STOPPING));
  worker_.Stop();
}

void RunController::OnClear() {
  if (runState_ != RunState::Idle)
    return;
  results_.clear();
  view_.DeleteAllResultRows();
  view_.ClearTextFields();
  LeavePreview();
}

void RunController::SetRunningUi(bool idle) {
  view_.ApplyRunningUi(
      RunningUiFor(idle, view_.IsRenameModeChecked(), view_.ShownAction(), preview_));
}

void RunController::OnResultMessage(ResultMessage message) {
  switch (message.status) {
    case ResultStatus::RunFinished:
      worker_.Stop();
      parameters_.backup = nullptr;
      backup_.reset();
      restore_.reset();
      if (previewLeft_) {
        preview_ = false;
        previewRows_.clear();
      }
      view_.SetStatusText(FoundFilesSummary(view_.ResultRowCount(), skipCounts_));
      SetRunningUi(true);
      runState_ = RunState::Idle;
      break;
    case ResultStatus::FileResult:
      OnFileResult(std::move(message.file));
      break;
    case ResultStatus::SearchError:
      if (message.errorText)
        view_.WriteErrorLog(*message.errorText);
      break;
    case ResultStatus::FileError:
      if (message.file) {
        const CFileResult& file = *message.file;
        view_.WriteErrorLog(u" (\"" + FullPathOf(file) + u"\"): " + file.resultText);
      }
      break;
  }
}

void RunController::OnFileResult(std::unique_ptr<CFileResult> result) {
  if (result && result->skipped != SkipReason::None) {
    skipCounts_.Add(result->skipped);
    view_.ReportSkipped(*result);
    return;
  }
  // A preview lists the files it would change.
  if (!result || (preview_ ? !result->preview : !IsListedResult(*result)))
    return;
  const int count = view_.ResultRowCount();
  // A negative limit, which the settings dialog cannot enter, counts as no limit.
  const std::int32_t limit = parameters_.settings.maxFilesShown;
  if (limit > 0 && count >= limit) {
    OnStop();
    return;
  }
  if (preview_)
    KeepPreviewRow(*result);
  else if (view_.TakesResultRows()) {
    view_.TakeResultRow(std::move(result), count);
    return;
  }
  results_.push_back(std::move(result));
  view_.AddResultRow(*results_.back(), count, results_.size() - 1);
}

void RunController::KeepPreviewRow(CFileResult& result) {
  FilePreview& preview = *result.preview;
  previewRows_.push_back({PreviewedFileOf(result, preview), true});
  result.resultText = PreviewResultText(result);
  // The details show the kept lines; the bytes are needed no more.
  std::string().swap(preview.before);
  std::string().swap(preview.after);
}

ConfirmAnswer RunController::OnConfirmMessage(const CFileResult::replace_info& position,
                                              const CFileResult& file) {
  return view_.ShowConfirmation(FullPathOf(file), position, file.askedChange);
}

void RunController::StopAndWait(MessagePump& pump) {
  if (runState_ == RunState::Idle)
    return;
  OnStop();
  pump.ServeUntil([this] { return runState_ == RunState::Idle; });
}
