// What the run's window-side logic needs from the main dialog: the status texts, the results
// list, the enabling of controls, the error log and the confirmation dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "run/record/file_result.h"
#include "run/record/run_types.h"
#include "run/running_ui.h"

class RunView {
 public:
  virtual ~RunView() = default;

  // The status bar's simple-mode text.
  virtual void SetStatusText(const std::u16string& text) = 0;
  // Empties the status edit (IDC_DETAILS).
  virtual void ClearStatusEdit() = 0;
  // Empties "Text to find/replace" (IDC_FIND_TEXT) and "Replace with text" (IDC_REPLACE_TEXT).
  virtual void ClearTextFields() = 0;

  virtual int ResultRowCount() const = 0;
  // Whether the view keeps each listed file itself (a console prints it and lets it go): then
  // the controller hands them over with TakeResultRow, outside a preview, and keeps no list.
  virtual bool TakesResultRows() const { return false; }
  virtual void TakeResultRow(std::unique_ptr<CFileResult> /*result*/, int /*row*/) {}
  // Adds the row of results[index] at the given position.
  virtual void AddResultRow(const CFileResult& result, int row, size_t index) = 0;
  virtual void DeleteAllResultRows() = 0;
  // A file or folder the run passed over (its skipped reason set); not listed.
  virtual void ReportSkipped(const CFileResult&) {}
  // Whether the view shows the lines of matches (CFileResult::lines); without it none are kept.
  virtual bool ShowsMatchLines() const { return true; }

  // The controls that the enabling rules read.
  virtual bool IsRenameModeChecked() const = 0;
  virtual std::int32_t ShownAction() const = 0;
  virtual void ApplyRunningUi(const RunningUi& ui) = 0;

  virtual void WriteErrorLog(const std::u16string& text) = 0;
  // Runs the confirmation dialog for one match and returns how it ended; `change`, when known,
  // is the change's lines before and after.
  virtual ConfirmAnswer ShowConfirmation(const std::u16string& fullPath,
                                         const CFileResult::replace_info& position,
                                         const ChangeLines* change) = 0;
};
