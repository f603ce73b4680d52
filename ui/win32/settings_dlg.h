// The settings dialog: edits a copy of the program settings on its pages.
#pragma once

#include <functional>
#include <string>

#include "text/program_settings.h"
#include "ui/settings_form.h"
#include "ui/win32/dialog.h"
#include "ui/win32/settings_pages.h"

class CSettingsDlg : public Dialog {
 public:
  explicit CSettingsDlg(HWND parent = nullptr);
  ~CSettingsDlg() override;

  // The copy the dialog edits; the caller fills it before and takes it back on OK.
  ProgramSettings settings;
  // Called by Reset All Settings to reset the main dialog's options.
  std::function<void()> onResetMainOptions;

  // The control with this ID on whichever page holds it.
  HWND Control(int id) const;
  // A page: 0 General, 1 Results, 2 Text, 3 Restore (which no tab shows), 4 Filters.
  HWND Page(int index) const;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  void CreatePages();
  void ShowPage(int index);
  void FillControls();
  void FillCodePages(int listId, const std::optional<std::int32_t>& selected);
  void FollowInputCodePage();
  SettingsForm ReadForm() const;
  // The "Editor" field: the command, or the name of the "edit" verb for none, and the commands
  // of the editors found installed to choose from.
  void FillEditorChoices(const std::u16string& command);
  std::u16string ReadEditorCommand() const;
  void OnOk();
  void OnHelp();
  void OnResetAll();
  void OnBrowse(int fieldId);
  bool IsChecked(int id) const;
  void Enable(int id, bool enabled);

  CSettingsGeneral general_;
  CSettingsResults results_;
  CSettingsText text_;
  CSettingsRestore restore_;
  CSettingsFilters filters_;
  HMODULE themeLibrary_ = nullptr;
  using EnableThemeDialogTextureFunction = HRESULT(WINAPI*)(HWND, DWORD);
  EnableThemeDialogTextureFunction enableThemeDialogTexture_ = nullptr;
};

// The folder shown when a directory setting is empty: the user's application data folder with
// "\VOXA", created when missing; empty when there is no application data folder.
std::u16string DefaultSettingsDirectory();
