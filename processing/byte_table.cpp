#include "processing/byte_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether the code page reads the bytes of the euro sign in UTF-8 as that one character.
bool DecodesUtf8(CodePage codePage) {
  static constexpr unsigned char kEuro[] = {0xE2, 0x82, 0xAC};
  ConvertedBuffer decoded;
  size_t byteLength = 0;
  return ConvertText(false, decoded, sizeof kEuro, kEuro, byteLength, codePage) &&
         decoded.text.length() == 1 && decoded.text.data()[0] == u'\u20AC';
}

struct KnownTable {
  CodePage codePage;
  bool oneToOne;
  bool utf8;
  ByteTable table;
};

// What is known of a code page, worked out once for the life of the process. A thread asks for
// the same code page file after file, so it keeps its last answer.
KnownTable LookUp(CodePage codePage);

const KnownTable& Known(CodePage codePage) {
  thread_local KnownTable last{};
  thread_local bool haveLast = false;
  if (!haveLast || last.codePage != codePage) {
    last = LookUp(codePage);
    haveLast = true;
  }
  return last;
}

KnownTable LookUp(CodePage codePage) {
  static std::mutex lock;
  static std::vector<KnownTable> known;
  {
    std::lock_guard<std::mutex> guard(lock);
    for (const KnownTable& entry : known) {
      if (entry.codePage == codePage)
        return entry;
    }
  }
  KnownTable entry{codePage, false, false, {}};
  entry.oneToOne = BuildTable(codePage, entry.table);
  entry.utf8 = !entry.oneToOne && DecodesUtf8(codePage);
  std::lock_guard<std::mutex> guard(lock);
  try {
    known.push_back(entry);
  } catch (const std::bad_alloc&) {
    // Worked out again next time.
  }
  return entry;
}

// Checked 64 bytes at a time, stopping at the first block with a byte above 0x7F.
bool AllAscii(std::span<const unsigned char> bytes) {
  const unsigned char* at = bytes.data();
  const unsigned char* const end = at + bytes.size();
#if defined(__SSE2__)
  for (; end - at >= 64; at += 64) {
    const auto load = [at](int block) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * block));
    };
    const __m128i any =
        _mm_or_si128(_mm_or_si128(load(0), load(1)), _mm_or_si128(load(2), load(3)));
    if (_mm_movemask_epi8(any) != 0)
      return false;
  }
#endif
  unsigned char high = 0;
  for (; at < end; ++at)
    high |= *at;
  return (high & 0x80) == 0;
}

}  // namespace

bool OneToOneByteTable(CodePage codePage, ByteTable& table) {
  const KnownTable& known = Known(codePage);
  table = known.table;
  return known.oneToOne;
}

bool ByteTableFor(CodePage codePage, std::span<const unsigned char> bytes, ByteTable& table) {
  const KnownTable& known = Known(codePage);
  if (known.oneToOne) {
    table = known.table;
    return true;
  }
  if (!known.utf8 || !AllAscii(bytes))
    return false;
  for (size_t byte = 0; byte < table.size(); ++byte)
    table[byte] = byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFF';
  return true;
}
