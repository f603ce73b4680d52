#include "processing/binary_content.h"

#include <algorithm>
#include <cstring>

#include "processing/byte_order_mark.h"

namespace {

bool ReadsWideUnits(CodePage codePage) {
  switch (codePage) {
    case kCodePageUtf16Le:
    case kCodePageUtf16Be:
    case 1200:
    case 1201:
    case 12000:
    case 12001:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool LooksBinary(std::span<const unsigned char> head, CodePage inputCodePage) {
  if (ReadsWideUnits(inputCodePage) || FindByteOrderMark(head) != ByteOrderMark::None)
    return false;
  head = head.first(std::min(head.size(), kBinarySniffSize));
  return !head.empty() && std::memchr(head.data(), 0, head.size()) != nullptr;
}
