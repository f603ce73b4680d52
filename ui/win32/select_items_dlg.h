// A check list of entries (recent folders or mask presets) to pick from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/win32/dialog.h"

class CSelectItemsDlg : public Dialog {
 public:
  explicit CSelectItemsDlg(HWND parent);

  // Filled by the caller with equal counts; on IDOK `checks` holds the final states (1 or 0).
  std::vector<std::u16string> items;
  std::vector<std::int32_t> checks;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;

 private:
  HWND List() const;
  int RowCount() const;
  bool IsRowChecked(int row) const;
  void SetRowChecked(int row, bool checked);
};
