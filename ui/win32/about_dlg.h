// The About dialog: program name and version, a banner and a link to the maker's web site.
#pragma once

#include <string>

#include "ui/win32/dialog.h"

class CAboutDlg : public Dialog {
 public:
  explicit CAboutDlg(HWND parent = nullptr);
  ~CAboutDlg() override;

  // The link's rectangle in client pixels: just its text, under the maker's label.
  RECT LinkRect() const;
  HFONT linkFont() const { return linkFont_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;

 private:
  void CreateLinkFont();
  void PlaceLink();
  void DrawLink(const DRAWITEMSTRUCT& item);
  void OpenLink();

  std::u16string linkText_;
  HFONT linkFont_ = nullptr;
  HCURSOR handCursor_ = nullptr;
};

// "Voxalon (Version %s)" with the ProductVersion of this program's version resource; empty when
// the resource or the value is missing.
std::u16string VersionCaption();
