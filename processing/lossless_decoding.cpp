#include "processing/lossless_decoding.h"

#include <algorithm>

#include "platform/code_page_codec.h"
#include "processing/byte_table.h"
#include "text/code_page_conversion.h"

namespace {

platform::ErrorCode CheckRoundTrip(CodePage codePage, std::span<const unsigned char> bytes,
                                   DecodingLoss& loss) {
  platform::ErrorCode error = 0;
  ConvertedBuffer decoded;
  size_t byteLength = 0;
  if (!ConvertText(false, decoded, bytes.size(), bytes.data(), byteLength, codePage, &error))
    return error;
  ConvertedBuffer encoded;
  if (!ConvertText(true, encoded, decoded.text.length(), decoded.text.data(), byteLength, codePage,
                   &error))
    return error;
  if (encoded.bytes.size() != bytes.size() ||
      !std::equal(bytes.begin(), bytes.end(), encoded.bytes.data()))
    loss = DecodingLoss::kNoRoundTrip;
  return 0;
}

}  // namespace

platform::ErrorCode CheckDecodingLoss(CodePage codePage, std::span<const unsigned char> bytes,
                                      DecodingLoss& loss) {
  loss = DecodingLoss::kNone;
  ByteTable table;
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be || bytes.empty() ||
      OneToOneByteTable(codePage, table))
    return 0;
  platform::ErrorCode error = 0;
  switch (platform::CheckDecoding(codePage, bytes.data(), bytes.size(), error)) {
    case platform::DecodingCheck::kClean:
      return 0;
    case platform::DecodingCheck::kUndecodable:
      loss = DecodingLoss::kUndecodableBytes;
      return 0;
    case platform::DecodingCheck::kCannotTell:
      return CheckRoundTrip(codePage, bytes, loss);
    case platform::DecodingCheck::kFailed:
      break;
  }
  return error;
}
