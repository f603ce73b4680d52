// The main dialog: search fields, options, results list, details field, status bar and menu.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/settings_key.h"
#include "run/run_types.h"
#include "text/program_settings.h"
#include "text/settings_store.h"
#include "ui/win32/dialog.h"
#include "ui/win32/results_list.h"
#include "ui/win32/sel_edit.h"

class CVOXADlg : public Dialog {
 public:
  // The settings live in the user's registry key unless a store is given (tests).
  explicit CVOXADlg(HWND parent = nullptr, SettingsKeyStore* store = nullptr);
  ~CVOXADlg() override;

  RunState runState = RunState::Idle;
  // Client rectangle of the previous layout pass; all zero until initialisation ends.
  RECT layoutRect{};
  ProgramSettings settings;
  std::vector<std::u16string> recentFolders;
  std::vector<std::u16string> maskPresets;

  HMENU menu() const { return menu_; }
  HWND statusBar() const { return statusBar_; }
  std::u16string StatusText() const;
  void SetStatusText(const std::u16string& text);

  // The settings and the dialog's fields, to and from the settings store. A failed save shows
  // "Couldn't save program settings" unless quiet.
  void LoadStoredSettings();
  bool SaveStoredSettings(bool quiet);
  // Settings command: edits a copy in the settings dialog and takes it over on OK.
  void OnSettings();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnSize(UINT type, int width, int height) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateStatusBar();
  void LoadMainMenu();
  void PaintMinimised();
  StoredDialogState ReadStoredState() const;
  void ApplyStoredState(const StoredDialogState& state);
  void ResetOptions();
  void UpdateErrorLogMenuItem();

  std::unique_ptr<SettingsKeyStore> ownStore_;
  SettingsKeyStore* store_;
  HICON icon_ = nullptr;
  HWND statusBar_ = nullptr;
  HMENU menu_ = nullptr;
  CSelEdit searchPathEdit_;
  ResultsList resultsList_;
};
