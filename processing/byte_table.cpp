#include "processing/byte_table.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "text/code_page_conversion.h"

namespace {

bool BuildTable(CodePage codePage, ByteTable& table) {
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be)
    return false;
  std::array<unsigned char, 256> all;
  for (size_t i = 0; i < all.size(); ++i)
    all[i] = static_cast<unsigned char>(i);
  ConvertedBuffer decoded;
  size_t byteLength = 0;
  if (!ConvertText(false, decoded, all.size(), all.data(), byteLength, codePage) ||
      decoded.text.length() != all.size())
    return false;
  ConvertedBuffer encoded;
  if (!ConvertText(true, encoded, decoded.text.length(), decoded.text.data(), byteLength,
                   codePage) ||
      encoded.bytes.size() != all.size() ||
      !std::equal(all.begin(), all.end(), encoded.bytes.data()))
    return false;
  std::copy(decoded.text.data(), decoded.text.data() + all.size(), table.begin());
  return true;
}

struct KnownTable {
  CodePage codePage;
  bool oneToOne;
  ByteTable table;
};

}  // namespace

bool OneToOneByteTable(CodePage codePage, ByteTable& table) {
  static std::mutex lock;
  static std::vector<KnownTable> known;
  {
    std::lock_guard<std::mutex> guard(lock);
    for (const KnownTable& entry : known) {
      if (entry.codePage == codePage) {
        table = entry.table;
        return entry.oneToOne;
      }
    }
  }
  KnownTable entry{codePage, false, {}};
  entry.oneToOne = BuildTable(codePage, entry.table);
  table = entry.table;
  std::lock_guard<std::mutex> guard(lock);
  try {
    known.push_back(entry);
  } catch (const std::bad_alloc&) {
    // Asked again next time.
  }
  return entry.oneToOne;
}
