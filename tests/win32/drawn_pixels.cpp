#include "tests/win32/drawn_pixels.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

Pixels Draw(HWND control, const std::function<void(HDC, const RECT&)>& paint) {
  RECT client{};
  GetClientRect(control, &client);
  Pixels pixels;
  pixels.width = client.right;
  pixels.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(dc);
    return pixels;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc, client);
  GdiFlush();
  pixels.data.resize(static_cast<size_t>(pixels.width) * pixels.height);
  std::memcpy(pixels.data.data(), bits, pixels.data.size() * 4);
  for (std::uint32_t& pixel : pixels.data)
    pixel &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

Pixels DrawnPixels(HWND control) {
  return Draw(control, [&](HDC dc, const RECT&) {
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_ERASEBKGND);
  });
}

Pixels TextPixels(HWND control, const std::u16string& text, UINT format) {
  return Draw(control, [&](HDC dc, const RECT& client) {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT area = client;
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), -1, &area, format);
  });
}

size_t DifferingPixels(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height)
    return std::max(a.data.size(), b.data.size());
  size_t count = 0;
  for (size_t i = 0; i < a.data.size(); ++i)
    count += a.data[i] != b.data[i];
  return count;
}
