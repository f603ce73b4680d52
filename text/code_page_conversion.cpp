#include "text/code_page_conversion.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/code_page_codec.h"

namespace {

char16_t* AllocateUnits(size_t unitCount) {
  if (unitCount >= SIZE_MAX / sizeof(char16_t))
    return nullptr;
  return static_cast<char16_t*>(std::malloc((unitCount + 1) * sizeof(char16_t)));
}

// A block for byteCount bytes and two zero bytes.
unsigned char* AllocateUtf16Bytes(size_t byteCount) {
  if (byteCount > SIZE_MAX - 2)
    return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(byteCount + 2));
  if (block) {
    block[byteCount] = 0;
    block[byteCount + 1] = 0;
  }
  return block;
}

// Code page -2: every unit from its two bytes, most significant first.
bool DecodeUtf16Be(const unsigned char* bytes, size_t byteCount, TextBuffer& text) {
  const size_t unitCount = byteCount / 2;
  char16_t* units = AllocateUnits(unitCount);
  if (!units)
    return false;
  for (size_t i = 0; i < unitCount; ++i)
    units[i] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
  units[unitCount] = 0;
  text.Adopt(units, unitCount);
  return true;
}

bool EncodeUtf16Be(const char16_t* units, size_t unitCount, ByteBuffer& bytes) {
  if (unitCount > SIZE_MAX / 2 - 1)
    return false;
  unsigned char* block = AllocateUtf16Bytes(2 * unitCount);
  if (!block)
    return false;
  for (size_t i = 0; i < unitCount; ++i) {
    block[2 * i] = static_cast<unsigned char>(units[i] >> 8);
    block[2 * i + 1] = static_cast<unsigned char>(units[i]);
  }
  bytes.Adopt(block, 2 * unitCount);
  return true;
}

bool Decode(const unsigned char* source, size_t count, CodePage codePage, TextBuffer& text,
            platform::ErrorCode& error) {
  error = platform::kErrorOutOfMemory;
  if (codePage == kCodePageUtf16Le)
    return BytesAsText(source, count, text);
  if (codePage == kCodePageUtf16Be)
    return DecodeUtf16Be(source, count, text);
  if (count == 0)
    return TextBuffer::FromText(std::u16string_view(), text);
  platform::HeapArray<char16_t> units;
  size_t unitCount = 0;
  if (!platform::DecodeCodePage(codePage, source, count, units, unitCount, error))
    return false;
  text.Adopt(units.release(), unitCount);
  return true;
}

bool Encode(const char16_t* source, size_t count, CodePage codePage, ByteBuffer& bytes,
            platform::ErrorCode& error) {
  error = platform::kErrorOutOfMemory;
  if (codePage == kCodePageUtf16Le)
    return TextAsBytes(std::u16string_view(source, count), bytes);
  if (codePage == kCodePageUtf16Be)
    return EncodeUtf16Be(source, count, bytes);
  if (count == 0) {
    auto* block = static_cast<unsigned char*>(std::malloc(1));
    if (!block)
      return false;
    block[0] = 0;
    bytes.Adopt(block, 0);
    return true;
  }
  platform::HeapArray<unsigned char> block;
  size_t byteCount = 0;
  if (!platform::EncodeCodePage(codePage, source, count, block, byteCount, error))
    return false;
  bytes.Adopt(block.release(), byteCount);
  return true;
}

}  // namespace

bool ConvertText(bool toBytes, ConvertedBuffer& buffer, size_t count, const void* source,
                 size_t& byteLength, CodePage codePage, platform::ErrorCode* errorCode) {
  buffer.text = TextBuffer();
  buffer.bytes = ByteBuffer();
  byteLength = 0;
  platform::ErrorCode error = 0;
  bool ok;
  if (toBytes) {
    ok = Encode(static_cast<const char16_t*>(source), count, codePage, buffer.bytes, error);
    if (ok)
      byteLength = buffer.bytes.size();
  } else {
    ok = Decode(static_cast<const unsigned char*>(source), count, codePage, buffer.text, error);
    if (ok)
      byteLength = buffer.text.length() * sizeof(char16_t);
  }
  if (!ok && errorCode)
    *errorCode = error;
  return ok;
}

bool BytesAsText(const void* bytes, size_t byteCount, TextBuffer& text) {
  const size_t unitCount = byteCount / 2;
  char16_t* units = AllocateUnits(unitCount);
  if (!units)
    return false;
  const auto* source = static_cast<const unsigned char*>(bytes);
  if constexpr (std::endian::native == std::endian::little) {
    if (unitCount != 0)
      std::memcpy(units, source, unitCount * sizeof(char16_t));
  } else {
    for (size_t i = 0; i < unitCount; ++i)
      units[i] = static_cast<char16_t>(source[2 * i] | source[2 * i + 1] << 8);
  }
  units[unitCount] = 0;
  text.Adopt(units, unitCount);
  return true;
}

bool TextAsBytes(std::u16string_view text, ByteBuffer& bytes) {
  if (text.size() > SIZE_MAX / 2 - 1)
    return false;
  const size_t byteCount = text.size() * sizeof(char16_t);
  unsigned char* block = AllocateUtf16Bytes(byteCount);
  if (!block)
    return false;
  if constexpr (std::endian::native == std::endian::little) {
    if (byteCount != 0)
      std::memcpy(block, text.data(), byteCount);
  } else {
    for (size_t i = 0; i < text.size(); ++i) {
      block[2 * i] = static_cast<unsigned char>(text[i]);
      block[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
  }
  bytes.Adopt(block, byteCount);
  return true;
}
