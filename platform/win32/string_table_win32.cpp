#include <windows.h>

#include "platform/string_table.h"
#include "platform/win32/wide.h"

namespace platform {

std::u16string LoadText(unsigned id) {
  // With a zero buffer size LoadStringW returns a read-only pointer into the resource itself.
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 ? FromWide(text, static_cast<size_t>(length)) : std::u16string();
}

}  // namespace platform
