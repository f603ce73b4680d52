#include <windows.h>

#include <climits>
#include <utility>

#include "platform/code_page_codec.h"
#include "platform/win32/wide.h"

namespace platform {

// Both calls run twice: once for the size, once into a block of exactly that size plus the zero.
bool DecodeCodePage(std::int32_t codePage, const unsigned char* bytes, size_t count,
                    HeapArray<char16_t>& units, size_t& unitCount, ErrorCode& error) {
  if (count > INT_MAX) {
    error = kErrorOutOfMemory;
    return false;
  }
  const UINT page = static_cast<UINT>(codePage);
  const auto* source = reinterpret_cast<const char*>(bytes);
  const int sourceLength = static_cast<int>(count);
  const int needed = MultiByteToWideChar(page, 0, source, sourceLength, nullptr, 0);
  if (needed <= 0) {
    error = GetLastError();
    return false;
  }
  HeapArray<char16_t> block(
      static_cast<char16_t*>(std::malloc(static_cast<size_t>(needed) * sizeof(char16_t) + 2)));
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  const int converted =
      MultiByteToWideChar(page, 0, source, sourceLength, Wide(block.get()), needed);
  if (converted <= 0) {
    error = GetLastError();
    return false;
  }
  block[converted] = 0;
  units = std::move(block);
  unitCount = static_cast<size_t>(converted);
  return true;
}

bool EncodeCodePage(std::int32_t codePage, const char16_t* units, size_t count,
                    HeapArray<unsigned char>& bytes, size_t& byteCount, ErrorCode& error) {
  if (count > INT_MAX) {
    error = kErrorOutOfMemory;
    return false;
  }
  const UINT page = static_cast<UINT>(codePage);
  const auto* source = reinterpret_cast<const wchar_t*>(units);
  const int sourceLength = static_cast<int>(count);
  const int needed =
      WideCharToMultiByte(page, 0, source, sourceLength, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) {
    error = GetLastError();
    return false;
  }
  HeapArray<unsigned char> block(
      static_cast<unsigned char*>(std::malloc(static_cast<size_t>(needed) + 1)));
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  const int converted =
      WideCharToMultiByte(page, 0, source, sourceLength, reinterpret_cast<char*>(block.get()),
                          needed, nullptr, nullptr);
  if (converted <= 0) {
    error = GetLastError();
    return false;
  }
  block[converted] = 0;
  bytes = std::move(block);
  byteCount = static_cast<size_t>(converted);
  return true;
}

// MB_ERR_INVALID_CHARS makes the sizing call fail on the first byte sequence that would be
// replaced. Code pages that do not take the flag (the ISO-2022 family, ISCII, UTF-7 and 42)
// fail with ERROR_INVALID_FLAGS instead.
DecodingCheck CheckDecoding(std::int32_t codePage, const unsigned char* bytes, size_t count,
                            ErrorCode& error) {
  if (count > INT_MAX) {
    error = kErrorOutOfMemory;
    return DecodingCheck::kFailed;
  }
  if (MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS,
                          reinterpret_cast<const char*>(bytes), static_cast<int>(count), nullptr,
                          0) > 0)
    return DecodingCheck::kClean;
  const DWORD last = GetLastError();
  if (last == ERROR_NO_UNICODE_TRANSLATION)
    return DecodingCheck::kUndecodable;
  if (last == ERROR_INVALID_FLAGS)
    return DecodingCheck::kCannotTell;
  error = last;
  return DecodingCheck::kFailed;
}

}  // namespace platform
