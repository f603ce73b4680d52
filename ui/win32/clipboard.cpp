#include "ui/win32/clipboard.h"

#include <cstring>

bool PutTextOnClipboard(HWND owner, const std::u16string& text) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block)
    return false;
  void* data = GlobalLock(block);
  if (!data) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(data, text.c_str(), bytes);
  GlobalUnlock(block);
  if (!OpenClipboard(owner)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  // On success the clipboard owns the block.
  const bool put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  if (!put)
    GlobalFree(block);
  return put;
}
