#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/code_page_codec.h"
#include "platform/posix/icu_code_pages.h"
#include "platform/posix/icu_converter.h"
#include "platform/posix/single_byte_tables.h"
#include "text/utf8.h"

namespace platform {
namespace {

// ICU takes at most 2^30 units or bytes per call; texts go through in slices well below that.
constexpr size_t kSliceSize = size_t{1} << 20;

// Grows a block to hold at least `minimum` elements, by half its size or more.
template <class T>
bool GrowBlock(HeapArray<T>& block, size_t& capacity, size_t minimum) {
  size_t next = std::max(minimum, capacity + capacity / 2 + 16);
  if (next > SIZE_MAX / sizeof(T))
    return false;
  void* grown = std::realloc(block.get(), next * sizeof(T));
  if (!grown)
    return false;
  static_cast<void>(block.release());
  block.reset(static_cast<T*>(grown));
  capacity = next;
  return true;
}

// Decodes 8 bytes of a table whose ASCII maps to itself: every byte is widened, then the
// bytes outside ASCII are looked up. The word's bytes are in little-endian order.
void DecodeEightBytes(const SingleByteTable& table, const unsigned char* bytes, char16_t* out) {
  for (int k = 0; k < 8; ++k)
    out[k] = bytes[k];
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  for (std::uint64_t high = word & 0x8080808080808080u; high != 0; high &= high - 1) {
    const int k = std::countr_zero(high) / 8;
    out[k] = table.units[bytes[k]];
  }
}

template <class T>
HeapArray<T> AllocateBlock(size_t count) {
  return HeapArray<T>(static_cast<T*>(std::malloc(count * sizeof(T))));
}

bool DecodeSingleByte(const SingleByteTable& table, const unsigned char* bytes, size_t count,
                      HeapArray<char16_t>& units, size_t& unitCount, ErrorCode& error) {
  HeapArray<char16_t> block = AllocateBlock<char16_t>(count + 1);
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  char16_t* out = block.get();
  size_t i = 0;
  if (table.asciiUnchanged && std::endian::native == std::endian::little) {
    for (; i + 16 <= count; i += 16) {
      DecodeEightBytes(table, bytes + i, out + i);
      DecodeEightBytes(table, bytes + i + 8, out + i + 8);
    }
  }
  for (; i < count; ++i)
    out[i] = table.units[bytes[i]];
  out[count] = 0;
  units = std::move(block);
  unitCount = count;
  return true;
}

enum class TableEncoding { kDone, kFailed, kNeedsIcu };

// A text with a surrogate needs ICU itself, which substitutes a pair as one character, and so
// does one with a unit that ICU drops.
TableEncoding EncodeSingleByte(const SingleByteTable& table, const char16_t* units, size_t count,
                               HeapArray<unsigned char>& bytes, size_t& byteCount,
                               ErrorCode& error) {
  HeapArray<unsigned char> block = AllocateBlock<unsigned char>(count + 1);
  if (!block) {
    error = kErrorOutOfMemory;
    return TableEncoding::kFailed;
  }
  unsigned char* out = block.get();
  for (size_t i = 0; i < count; ++i) {
    const std::uint16_t byte = table.bytes[units[i]];
    if (byte == SingleByteTable::kNotAByte)
      return TableEncoding::kNeedsIcu;
    out[i] = static_cast<unsigned char>(byte);
  }
  out[count] = 0;
  bytes = std::move(block);
  byteCount = count;
  return TableEncoding::kDone;
}

// Runs an ICU conversion slice by slice (ICU takes at most about 2^30 units per call) into a
// block that grows when the output does not fit; one element stays free for the zero. `used`
// receives the number of elements written.
template <class Target, class Source, class Convert>
bool ConvertInSlices(HeapArray<Target>& block, size_t& capacity, size_t& used, const Source* source,
                     const Source* sourceEnd, Convert convert, ErrorCode& error) {
  for (;;) {
    const Source* sliceEnd = source + std::min<size_t>(sourceEnd - source, kSliceSize);
    const bool last = sliceEnd == sourceEnd;
    const size_t room = std::min(capacity - 1 - used, kSliceSize);
    Target* target = block.get() + used;
    UErrorCode status = U_ZERO_ERROR;
    convert(target, target + room, source, sliceEnd, last, status);
    used = static_cast<size_t>(target - block.get());
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      if (used == capacity - 1 && !GrowBlock(block, capacity, capacity + 1)) {
        error = kErrorOutOfMemory;
        return false;
      }
      continue;
    }
    if (U_FAILURE(status)) {
      error = IcuError(status);
      return false;
    }
    if (last)
      return true;
  }
}

// UTF-8 is decoded here: ICU's converter takes several times as long for mostly-ASCII text,
// and both replace each maximal invalid subsequence by one U+FFFD.
bool DecodeUtf8Bytes(const unsigned char* bytes, size_t count, HeapArray<char16_t>& units,
                     size_t& unitCount, ErrorCode& error) {
  HeapArray<char16_t> block = AllocateBlock<char16_t>(count + 1);
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  bool valid = true;
  const size_t used = DecodeUtf8(bytes, count, block.get(), valid);
  block[used] = 0;
  units = std::move(block);
  unitCount = used;
  return true;
}

bool DecodeWithIcu(const IcuCodePage& codePage, const unsigned char* bytes, size_t count,
                   HeapArray<char16_t>& units, size_t& unitCount, ErrorCode& error) {
  IcuConverter converter = OpenIcuConverter(codePage, error);
  if (!converter)
    return false;
  // Most code pages give at most one unit per byte; the block grows for the others.
  size_t capacity = count + 1;
  HeapArray<char16_t> block = AllocateBlock<char16_t>(capacity);
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  const char* source = reinterpret_cast<const char*>(bytes);
  const char* const sourceEnd = source + count;
  size_t used = 0;
  auto toUnicode = [&](char16_t*& target, char16_t* targetEnd, const char*& from,
                       const char* fromEnd, bool last, UErrorCode& status) {
    ucnv_toUnicode(converter.get(), &target, targetEnd, &from, fromEnd, nullptr, last, &status);
  };
  if (!ConvertInSlices(block, capacity, used, source, sourceEnd, toUnicode, error))
    return false;
  block[used] = 0;
  units = std::move(block);
  unitCount = used;
  return true;
}

bool EncodeWithIcu(const IcuCodePage& codePage, const char16_t* units, size_t count,
                   HeapArray<unsigned char>& bytes, size_t& byteCount, ErrorCode& error) {
  IcuConverter converter = OpenIcuConverter(codePage, error);
  if (!converter)
    return false;
  if (count > SIZE_MAX / 4) {
    error = kErrorOutOfMemory;
    return false;
  }
  size_t capacity = (ucnv_getMaxCharSize(converter.get()) > 1 ? 2 * count : count) + 16;
  HeapArray<unsigned char> block = AllocateBlock<unsigned char>(capacity);
  if (!block) {
    error = kErrorOutOfMemory;
    return false;
  }
  const char16_t* source = units;
  const char16_t* const sourceEnd = units + count;
  size_t used = 0;
  auto fromUnicode = [&](unsigned char*& target, unsigned char* targetEnd, const char16_t*& from,
                         const char16_t* fromEnd, bool last, UErrorCode& status) {
    char* out = reinterpret_cast<char*>(target);
    ucnv_fromUnicode(converter.get(), &out, reinterpret_cast<char*>(targetEnd), &from, fromEnd,
                     nullptr, last, &status);
    target = reinterpret_cast<unsigned char*>(out);
  };
  if (!ConvertInSlices(block, capacity, used, source, sourceEnd, fromUnicode, error))
    return false;
  block[used] = 0;
  bytes = std::move(block);
  byteCount = used;
  return true;
}

// With the stop callback ICU fails on the first sequence that its default callback would replace:
// malformed, unassigned or cut off at the end. The units go to a scratch block.
DecodingCheck CheckWithIcu(const IcuCodePage& codePage, const unsigned char* bytes, size_t count,
                           ErrorCode& error) {
  IcuConverter converter = OpenIcuConverter(codePage, error);
  if (!converter)
    return DecodingCheck::kFailed;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) {
    error = IcuError(status);
    return DecodingCheck::kFailed;
  }
  char16_t scratch[4096];
  const char* source = reinterpret_cast<const char*>(bytes);
  const char* const sourceEnd = source + count;
  for (;;) {
    const char* sliceEnd = source + std::min<size_t>(sourceEnd - source, kSliceSize);
    const bool last = sliceEnd == sourceEnd;
    char16_t* target = scratch;
    status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, std::end(scratch), &source, sliceEnd, nullptr, last,
                   &status);
    if (status == U_BUFFER_OVERFLOW_ERROR)
      continue;
    if (status == U_MEMORY_ALLOCATION_ERROR) {
      error = kErrorOutOfMemory;
      return DecodingCheck::kFailed;
    }
    if (U_FAILURE(status))
      return DecodingCheck::kUndecodable;
    if (last)
      return DecodingCheck::kClean;
  }
}

}  // namespace

DecodingCheck CheckDecoding(std::int32_t codePage, const unsigned char* bytes, size_t count,
                            ErrorCode& error) {
  const IcuCodePage* row = FindIcuCodePage(codePage);
  if (!row) {
    error = kErrorCodePageNotSupported;
    return DecodingCheck::kFailed;
  }
  return CheckWithIcu(*row, bytes, count, error);
}

bool DecodeCodePage(std::int32_t codePage, const unsigned char* bytes, size_t count,
                    HeapArray<char16_t>& units, size_t& unitCount, ErrorCode& error) {
  const IcuCodePage* row = FindIcuCodePage(codePage);
  if (!row) {
    error = kErrorCodePageNotSupported;
    return false;
  }
  if (count >= SIZE_MAX / sizeof(char16_t)) {
    error = kErrorOutOfMemory;
    return false;
  }
  if (const SingleByteTable* table = FindSingleByteTable(*row))
    return DecodeSingleByte(*table, bytes, count, units, unitCount, error);
  if (std::strcmp(row->converterName, "UTF-8") == 0)
    return DecodeUtf8Bytes(bytes, count, units, unitCount, error);
  return DecodeWithIcu(*row, bytes, count, units, unitCount, error);
}

bool EncodeCodePage(std::int32_t codePage, const char16_t* units, size_t count,
                    HeapArray<unsigned char>& bytes, size_t& byteCount, ErrorCode& error) {
  const IcuCodePage* row = FindIcuCodePage(codePage);
  if (!row) {
    error = kErrorCodePageNotSupported;
    return false;
  }
  if (const SingleByteTable* table = FindSingleByteTable(*row)) {
    const TableEncoding result = EncodeSingleByte(*table, units, count, bytes, byteCount, error);
    if (result != TableEncoding::kNeedsIcu)
      return result == TableEncoding::kDone;
  }
  return EncodeWithIcu(*row, units, count, bytes, byteCount, error);
}

}  // namespace platform
