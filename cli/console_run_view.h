// The run's view on a console: listed files and errors are printed in the order they arrive (on
// a printer thread, while the run goes on), errors also go to the error log, and confirmations
// are asked at the terminal.
#pragma once

#include <memory>

#include "cli/console.h"
#include "cli/console_printer.h"
#include "cli/preview_lines.h"
#include "processing/error_log.h"
#include "run/skip_counts.h"
#include "run/run_message_handler.h"
#include "run/run_view.h"

class ConsoleRunView : public RunView {
 public:
  // renameMode and action are the run's, for the enabling rules the controller asks about.
  ConsoleRunView(Console& console, ErrorLog& log, bool json, bool renameMode, ActionType action)
      : console_(console),
        log_(log),
        json_(json),
        renameMode_(renameMode),
        action_(action),
        printer_([&console] { console.OnHelperThread(); }) {}

  // Whether a listed file's matches print with their line and character, or only counted.
  void PrintPositions(bool positions) { positions_ = positions; }

  void SetStatusText(const std::u16string&) override {}
  // Matches print as positions.
  bool ShowsMatchLines() const override { return false; }
  void ClearStatusEdit() override {}
  void ClearTextFields() override {}
  int ResultRowCount() const override { return rows_; }
  // Printed, then let go: a run over millions of matches keeps none of them.
  bool TakesResultRows() const override { return true; }
  void TakeResultRow(std::unique_ptr<CFileResult> result, int row) override;
  void AddResultRow(const CFileResult& result, int row, size_t index) override;
  void DeleteAllResultRows() override { rows_ = 0; }
  // JSON only: a line with the reason.
  void ReportSkipped(const CFileResult& file) override;
  bool IsRenameModeChecked() const override { return renameMode_; }
  std::int32_t ShownAction() const override { return static_cast<std::int32_t>(action_); }
  void ApplyRunningUi(const RunningUi&) override {}
  void WriteErrorLog(const std::u16string& text) override;
  ConfirmAnswer ShowConfirmation(const std::u16string& fullPath,
                                 const CFileResult::replace_info& position,
                                 const ChangeLines* change) override;

  // In a preview: how changes are printed. A listed file that has a preview is printed as the
  // change instead of its result lines.
  void SetPreviewStyle(const PreviewStyle& style) { previewStyle_ = style; }
  // The preview of the file the next AddResultRow lists; null to drop one not listed.
  void HoldPreview(std::unique_ptr<FilePreview> preview) { heldPreview_ = std::move(preview); }

  // Waits for everything printed so far, then prints "Found files: N" with the skipped files'
  // summary, or the JSON end line.
  void WriteEnd(const SkipCounts& skips);
  int errorCount() const { return errors_; }

 private:
  Console& console_;
  ErrorLog& log_;
  bool json_;
  bool positions_ = true;
  bool renameMode_;
  ActionType action_;
  // Prints the lines of a listed file, on the printer's thread.
  void PrintRow(const CFileResult& result, const FilePreview* preview) const;

  int rows_ = 0;
  int errors_ = 0;
  PreviewStyle previewStyle_;
  std::unique_ptr<FilePreview> heldPreview_;
  ConsolePrinter printer_;
};

// Passes the worker's messages on, taking each file's preview out of its result first and
// handing it to the view, which prints it and lets it go instead of the run keeping it.
class PreviewTap : public RunMessageHandler {
 public:
  PreviewTap(RunMessageHandler& next, ConsoleRunView& view) : next_(next), view_(view) {}

  void OnResultMessage(ResultMessage message) override;
  ConfirmAnswer OnConfirmMessage(const CFileResult::replace_info& position,
                                 const CFileResult& file) override {
    return next_.OnConfirmMessage(position, file);
  }

 private:
  RunMessageHandler& next_;
  ConsoleRunView& view_;
};
