// The main dialog: search fields, options, results list, details field, status bar and menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "run/run_types.h"
#include "text/program_settings.h"
#include "ui/win32/dialog.h"
#include "ui/win32/results_list.h"
#include "ui/win32/sel_edit.h"

class CVOXADlg : public Dialog {
 public:
  explicit CVOXADlg(HWND parent = nullptr);
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

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnSize(UINT type, int width, int height) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateStatusBar();
  void LoadMainMenu();
  void PaintMinimised();

  HICON icon_ = nullptr;
  HWND statusBar_ = nullptr;
  HMENU menu_ = nullptr;
  CSelEdit searchPathEdit_;
  ResultsList resultsList_;
};
