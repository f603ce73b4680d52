// The main dialog: search fields, options, results list, details field, status bar and menu. It
// owns the run's window side (RunController) and shows what the run reports.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_key.h"
#include "processing/error_log.h"
#include "run/prompt.h"
#include "run/run_controller.h"
#include "run/run_view.h"
#include "text/program_settings.h"
#include "text/regex/regex_program.h"
#include "text/settings_store.h"
#include "ui/main_layout.h"
#include "ui/win32/dialog.h"
#include "ui/win32/field_gestures.h"
#include "ui/win32/results_list.h"
#include "ui/win32/sel_edit.h"
#include "ui/win32/shell_context_menu.h"
#include "ui/win32/window_run_channel.h"

class CVOXADlg : public Dialog, private RunView, private Prompt {
 public:
  // The settings live in the user's registry key unless a store is given (tests).
  explicit CVOXADlg(HWND parent = nullptr, SettingsKeyStore* store = nullptr);
  ~CVOXADlg() override;

  // Client rectangle of the previous layout pass; all zero until initialisation ends.
  LayoutRect layoutRect{};
  ProgramSettings settings;
  std::vector<std::u16string> recentFolders;
  std::vector<std::u16string> maskPresets;
  // Recent entries of the find, replace and masks fields, newest first.
  std::vector<std::u16string> findHistory;
  std::vector<std::u16string> replaceHistory;
  std::vector<std::u16string> maskHistory;
  std::vector<std::u16string> excludeHistory;
  // Folders from the command line; when there are any they replace the stored search path.
  std::vector<std::u16string> startFolders;

  RunState runState() const { return run_.runState(); }
  const ErrorLog& errorLog() const { return errorLog_; }
  RunController& run() { return run_; }
  HMENU menu() const { return menu_; }
  HWND statusBar() const { return statusBar_; }
  std::u16string StatusText() const;
  void SetStatusText(const std::u16string& text) override;

  // The settings and the dialog's fields, to and from the settings store. A failed save shows
  // "Couldn't save program settings" unless quiet.
  void LoadStoredSettings();
  bool SaveStoredSettings(bool quiet);
  // Settings command: edits a copy in the settings dialog and takes it over on OK.
  void OnSettings();
  // Stops a run and waits, serving its messages, until the worker is done with the window.
  void StopRunAndWait();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void OnSize(UINT type, int width, int height) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;

 private:
  // RunView
  void ClearStatusEdit() override;
  void ClearTextFields() override;
  int ResultRowCount() const override;
  void AddResultRow(const CFileResult& result, int row, size_t index) override;
  void DeleteAllResultRows() override;
  bool IsRenameModeChecked() const override;
  std::int32_t ShownAction() const override;
  void ApplyRunningUi(const RunningUi& ui) override;
  void WriteErrorLog(const std::u16string& text) override;
  ConfirmAnswer ShowConfirmation(const std::u16string& fullPath,
                                 const CFileResult::replace_info& position,
                                 const ChangeLines* change) override;
  // Prompt
  PromptAnswer Show(const std::u16string& text, const std::u16string& caption,
                    PromptButtons buttons) override;

  void CreateStatusBar();
  void LoadMainMenu();
  void PaintMinimised();
  StoredDialogState ReadStoredState() const;
  void ApplyStoredState(const StoredDialogState& state);
  void ResetOptions();
  void UpdateErrorLogMenuItem();
  // Action › Undo: enabled while idle with a run to take back.
  void UpdateUndoMenuItem();
  void UpdateReplaceField();
  void EndProgram(INT_PTR result);

  // Commands
  void OnRunCommand();
  RunFields ReadRunFields() const;
  void OnHelp();
  void OnOpenErrorLog();
  void OnBrowse();
  void OnSelectFrom(const std::vector<std::u16string>& entries, int fieldId);
  // Folders dropped from Explorer fill the search path field; files are passed over.
  void OnDropFiles(HDROP drop);

  // Results list
  CFileResult* ResultOfRow(int row) const;
  CFileResult* SelectedResult(int& row) const;
  void ShowDetails(int row);
  void OnResultsClick();
  void OnResultsDoubleClick();
  // Opens the file as a double click on its row does.
  void OpenResultFile(const CFileResult& file);
  // The editor's command for the file at a line and column (from 1), or without a command the
  // file type's "edit" verb.
  void OpenInEditor(const CFileResult& file, std::int64_t line, std::int64_t column);
  void OnResultsRightClick(POINT clientPoint);
  // Shift+F10 or the context-menu key on the list.
  void OnResultsMenuKey();
  void ShowResultMenu(POINT screen);
  // Ctrl+A and Ctrl+C on the list; false for other keys.
  bool OnResultsKey(const NMLVKEYDOWN& key);
  // The selected rows, tab-separated with a header line.
  void OnCopyRows();
  // The selected files' full paths or names, one a line.
  void OnCopyNames(bool fullPaths);
  void OnExportResults();

  void LayOut(int clientWidth, int clientHeight);
  void MoveControls(const std::vector<std::pair<HWND, LayoutRect>>& moves);
  HWND LayoutWindow(int id) const;

  // Recent entries
  std::vector<std::u16string>* HistoryOf(int button);
  void AttachHistoryGestures();
  void RememberRunFields(const RunFields& fields);
  // The list of the button's field; the chosen entry fills the field.
  void OnHistory(int button);
  bool DrawHistoryButton(const DRAWITEMSTRUCT& item);

  // Preview
  void OnPreviewCommand();
  // A change of a form field (its id and notification code) ends a shown preview.
  void LeavePreviewOnChange(int id, int code);
  // Space or a click on a check box: the rows take the opposite of the first one's tick.
  void ToggleTicks(const std::vector<int>& rows);
  // Run or Apply on the button and the menu item, and the rows' check boxes, as the run says.
  void ShowPreviewState(const RunningUi& ui);

  // Opening a file at a line
  // The match of the details field's caret line, opened in the editor at its line.
  void OnOpenDetailsLine();

  // The tick that shows the rows of a run.
  static constexpr UINT_PTR kRowsTimer = 0x5652;
  static constexpr UINT kRowsTimerMs = 100;
  void OnRowsTimer();

  std::unique_ptr<SettingsKeyStore> ownStore_;
  SettingsKeyStore* store_;
  HICON icon_ = nullptr;
  HWND statusBar_ = nullptr;
  HMENU menu_ = nullptr;
  CSelEdit searchPathEdit_;
  FieldGestures historyGestures_[4];
  FieldGestures detailsGestures_;
  // The results-array index of the file the details field shows.
  std::optional<size_t> detailsResult_;
  ResultsList resultsList_;
  ShellContextMenu shellMenu_;
  ErrorLog errorLog_;
  // The compiled find pattern of the current or last run.
  RegexProgram regex_;
  // The run reaches the window only through the channel, which gets the window at creation.
  WindowRunChannel channel_;
  RunController run_;
};
