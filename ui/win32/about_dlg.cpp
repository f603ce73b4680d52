#include "ui/win32/about_dlg.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "text/text_format.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/modal_hooks.h"

namespace {
// Space between the maker's label and the link, in pixels at 96 DPI.
constexpr int kLinkGapAt96 = 5;
}  // namespace

std::u16string VersionCaption() {
  wchar_t path[MAX_PATH] = {};
  if (!GetModuleFileNameW(nullptr, path, MAX_PATH))
    return {};
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (!size)
    return {};
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(path, 0, size, block.data()))
    return {};

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return {};
  wchar_t query[64];
  swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation->language,
           translation->codePage);
  wchar_t* version = nullptr;
  if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&version), &length) || !length)
    return {};
  std::u16string text = platform::FromWide(version);
  return FormatString(IDS_VERSION_CAPTION, {std::u16string_view(text)});
}

CAboutDlg::CAboutDlg(HWND parent)
    : Dialog(IDD_ABOUTBOX, parent),
      linkText_(platform::LoadText(IDS_WEB_ADDRESS)),
      handCursor_(LoadCursorW(nullptr, IDC_HAND)) {}

CAboutDlg::~CAboutDlg() {
  if (linkFont_)
    DeleteObject(linkFont_);
}

RECT CAboutDlg::LinkRect() const {
  RECT rect{};
  GetWindowRect(Item(IDC_ABOUT_LINK), &rect);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  std::u16string caption = VersionCaption();
  if (!caption.empty())
    SetItemText(hwnd(), IDC_ABOUT_VERSION, caption);
  // The link's own text is what assistive tools read.
  SetItemText(hwnd(), IDC_ABOUT_LINK, linkText_);
  CreateLinkFont();
  PlaceLink();
  return true;
}

void CAboutDlg::OnDpiChanged(int, int) {
  CreateLinkFont();
  PlaceLink();
}

void CAboutDlg::CreateLinkFont() {
  if (linkFont_)
    DeleteObject(linkFont_);
  linkFont_ = nullptr;
  LOGFONTW description{};
  if (HFONT dialogFont = font(); dialogFont && GetObjectW(dialogFont, sizeof description, &description)) {
    description.lfUnderline = TRUE;
    linkFont_ = CreateFontIndirectW(&description);
  }
}

void CAboutDlg::PlaceLink() {
  HWND link = Item(IDC_ABOUT_LINK);
  RECT label{};
  GetWindowRect(Item(IDC_ABOUT_MAKER), &label);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&label), 2);
  RECT text{};
  if (HDC dc = GetDC(link)) {
    HGDIOBJ old = linkFont_ ? SelectObject(dc, linkFont_) : nullptr;
    DrawTextW(dc, platform::Wide(linkText_), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (old)
      SelectObject(dc, old);
    ReleaseDC(link, dc);
  }
  SetWindowPos(link, nullptr, label.left, label.bottom + ScaleForDpi(kLinkGapAt96, dpi()),
               text.right - text.left, text.bottom - text.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAboutDlg::DrawLink(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = linkFont_ ? SelectObject(dc, linkFont_) : nullptr;
  COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_HOTLIGHT));
  DrawTextW(dc, platform::Wide(linkText_), -1, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  if (oldFont)
    SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
    DrawFocusRect(dc, &rect);
}

void CAboutDlg::OpenLink() {
  if (ShellOpen(nullptr, linkText_, u"", u"", SW_SHOWNORMAL) <= 32)
    ShowMessageBox(hwnd(), platform::LoadText(IDS_WEB_OPEN_FAILED),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
  if (id == IDC_ABOUT_LINK) {
    if (code == BN_CLICKED)  // a click, or Space while the link has the focus
      OpenLink();
    return true;
  }
  // Enter goes to the default button, OK; on the focused link it opens the link instead.
  if (id == IDOK && GetFocus() == Item(IDC_ABOUT_LINK)) {
    OpenLink();
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      if (wParam != IDC_ABOUT_LINK)
        return false;
      DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != Item(IDC_ABOUT_LINK))
        return false;
      SetCursor(handCursor_);
      result = TRUE;
      return true;
    default:
      return false;
  }
}
