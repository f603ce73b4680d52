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
constexpr RECT kLinkRectAt96{72, 164, 230, 180};
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
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
      handCursor_(LoadCursorW(nullptr, IDC_HAND)),
      arrowCursor_(LoadCursorW(nullptr, IDC_ARROW)) {}

CAboutDlg::~CAboutDlg() {
  if (linkFont_)
    DeleteObject(linkFont_);
}

RECT CAboutDlg::LinkRect() const {
  int dpi = WindowDpi(hwnd());
  return {ScaleForDpi(kLinkRectAt96.left, dpi), ScaleForDpi(kLinkRectAt96.top, dpi),
          ScaleForDpi(kLinkRectAt96.right, dpi), ScaleForDpi(kLinkRectAt96.bottom, dpi)};
}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  std::u16string caption = VersionCaption();
  if (!caption.empty())
    SetItemText(hwnd(), IDC_ABOUT_VERSION, caption);

  LOGFONTW font{};
  auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  if (dialogFont && GetObjectW(dialogFont, sizeof font, &font)) {
    font.lfUnderline = TRUE;
    linkFont_ = CreateFontIndirectW(&font);
  }
  return true;
}

void CAboutDlg::PaintLink() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = linkFont_ ? SelectObject(dc, linkFont_) : nullptr;
  COLORREF oldColour = SetTextColor(dc, kLinkColour);
  RECT rect = LinkRect();
  DrawTextW(dc, platform::Wide(linkText_), -1, &rect, DT_LEFT | DT_TOP | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  if (oldFont)
    SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
  EndPaint(hwnd(), &paint);
}

bool CAboutDlg::IsOverLink(LPARAM point) const {
  RECT rect = LinkRect();
  POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  return PtInRect(&rect, p) != FALSE;
}

void CAboutDlg::OpenLink() {
  if (ShellOpen(nullptr, linkText_, u"", u"", SW_SHOWNORMAL) <= 32)
    ShowMessageBox(hwnd(), platform::LoadText(IDS_WEB_OPEN_FAILED),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      PaintLink();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      SetCursor(IsOverLink(lParam) ? handCursor_ : arrowCursor_);
      result = DefaultProcessing(message, wParam, lParam);
      return true;
    case WM_LBUTTONDOWN:
      if (IsOverLink(lParam))
        OpenLink();
      result = DefaultProcessing(message, wParam, lParam);
      return true;
    default:
      return false;
  }
}
