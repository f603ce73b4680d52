#include "processing/byte_order_mark.h"

#include <algorithm>

namespace {

constexpr unsigned char kUtf8[] = {0xEF, 0xBB, 0xBF};
constexpr unsigned char kUtf16Le[] = {0xFF, 0xFE};
constexpr unsigned char kUtf16Be[] = {0xFE, 0xFF};
constexpr unsigned char kUtf32Le[] = {0xFF, 0xFE, 0x00, 0x00};
constexpr unsigned char kUtf32Be[] = {0x00, 0x00, 0xFE, 0xFF};

bool StartsWith(std::span<const unsigned char> bytes, std::span<const unsigned char> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

}  // namespace

ByteOrderMark FindByteOrderMark(std::span<const unsigned char> bytes) {
  for (const ByteOrderMark mark : {ByteOrderMark::Utf32Le, ByteOrderMark::Utf32Be,
                                   ByteOrderMark::Utf8, ByteOrderMark::Utf16Le,
                                   ByteOrderMark::Utf16Be}) {
    if (StartsWith(bytes, ByteOrderMarkBytes(mark)))
      return mark;
  }
  return ByteOrderMark::None;
}

std::span<const unsigned char> ByteOrderMarkBytes(ByteOrderMark mark) {
  switch (mark) {
    case ByteOrderMark::Utf8:
      return kUtf8;
    case ByteOrderMark::Utf16Le:
      return kUtf16Le;
    case ByteOrderMark::Utf16Be:
      return kUtf16Be;
    case ByteOrderMark::Utf32Le:
      return kUtf32Le;
    case ByteOrderMark::Utf32Be:
      return kUtf32Be;
    case ByteOrderMark::None:
      break;
  }
  return {};
}

std::optional<CodePage> CodePageOfMark(ByteOrderMark mark) {
  switch (mark) {
    case ByteOrderMark::Utf8:
      return kCodePageUtf8;
    case ByteOrderMark::Utf16Le:
      return kCodePageUtf16Le;
    case ByteOrderMark::Utf16Be:
      return kCodePageUtf16Be;
    default:
      return std::nullopt;
  }
}
