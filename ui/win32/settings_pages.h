// The settings dialog's pages: child dialogs that pass every command notification on to the
// settings dialog, where all their control logic lives.
#pragma once

#include "ui/win32/dialog.h"

class SettingsPage : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  bool OnCommand(int id, int code, HWND control) override;
};

class CSettingsGeneral : public SettingsPage {
 public:
  CSettingsGeneral();
};

class CSettingsResults : public SettingsPage {
 public:
  CSettingsResults();

 protected:
  bool OnInitDialog() override;
};

class CSettingsText : public SettingsPage {
 public:
  CSettingsText();

 protected:
  bool OnInitDialog() override;
};

class CSettingsRestore : public SettingsPage {
 public:
  CSettingsRestore();
};

class CSettingsFilters : public SettingsPage {
 public:
  CSettingsFilters();
};
