#include "processing/lossless_decoding.h"

#include <algorithm>

#include "processing/byte_table.h"
#include "text/code_page_conversion.h"

platform::ErrorCode CheckLosslessDecoding(CodePage codePage, std::span<const unsigned char> bytes,
                                          bool& lossless) {
  lossless = true;
  ByteTable table;
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be || bytes.empty() ||
      OneToOneByteTable(codePage, table))
    return 0;
  platform::ErrorCode error = 0;
  ConvertedBuffer decoded;
  size_t byteLength = 0;
  if (!ConvertText(false, decoded, bytes.size(), bytes.data(), byteLength, codePage, &error))
    return error;
  ConvertedBuffer encoded;
  if (!ConvertText(true, encoded, decoded.text.length(), decoded.text.data(), byteLength, codePage,
                   &error))
    return error;
  lossless = encoded.bytes.size() == bytes.size() &&
             std::equal(bytes.begin(), bytes.end(), encoded.bytes.data());
  return 0;
}
