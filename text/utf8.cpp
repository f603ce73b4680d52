#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char16_t* Append(char16_t* out, char32_t code) {
  if (code < 0x10000) {
    *out++ = static_cast<char16_t>(code);
    return out;
  }
  code -= 0x10000;
  *out++ = static_cast<char16_t>(0xD800 + (code >> 10));
  *out++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  return out;
}

void Append(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// The range the second byte of a sequence may take after this lead byte (Unicode table 3-7).
bool SecondByteFits(std::uint8_t lead, std::uint8_t second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return second >= 0x80 && second <= 0xBF;
  }
}

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscape(char16_t unit) {
  return unit >= 0xDC80 && unit <= 0xDCFF;
}

// With kKeepBytes, every byte of an invalid subsequence becomes its escape unit instead of the
// whole subsequence becoming one U+FFFD.
template <bool kKeepBytes>
size_t Decode(const unsigned char* bytes, size_t count, char16_t* out, bool& valid) {
  valid = true;
  char16_t* const start = out;
  size_t i = 0;
  while (i < count) {
    // Runs of ASCII, eight bytes at a time.
    while (i + 8 <= count) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, sizeof word);
      if (word & 0x8080808080808080u)
        break;
      for (int k = 0; k < 8; ++k)
        out[k] = bytes[i + k];
      out += 8;
      i += 8;
    }
    if (i == count)
      break;
    const std::uint8_t lead = bytes[i];
    if (lead < 0x80) {
      *out++ = lead;
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    }
    // Consume the longest valid prefix; anything short of a whole sequence is one U+FFFD.
    size_t used = 1;
    while (length != 0 && used < length && i + used < count) {
      const std::uint8_t next = bytes[i + used];
      const bool fits = used == 1 ? SecondByteFits(lead, next) : (next & 0xC0) == 0x80;
      if (!fits)
        break;
      code = (code << 6) | (next & 0x3F);
      ++used;
    }
    if (length != 0 && used == length) {
      out = Append(out, code);
    } else if constexpr (kKeepBytes) {
      for (size_t k = 0; k < used; ++k)
        *out++ = static_cast<char16_t>(kEscapeBase + bytes[i + k]);
      valid = false;
    } else {
      *out++ = static_cast<char16_t>(kReplacement);
      valid = false;
    }
    i += used;
  }
  return static_cast<size_t>(out - start);
}

// With kKeepBytes, a lone escape unit becomes its byte; other lone surrogates become U+FFFD.
template <bool kKeepBytes>
std::string Encode(std::u16string_view text) {
  // ASCII is copied unit for byte; the rest is encoded one code point at a time.
  size_t i = 0;
  while (i < text.size() && text[i] < 0x80)
    ++i;
  std::string out(i, '\0');
  for (size_t k = 0; k < i; ++k)
    out[k] = static_cast<char>(text[k]);
  if (i == text.size())
    return out;
  out.reserve(text.size() + (text.size() - i) * 2);
  for (; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      Append(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (kKeepBytes && IsEscape(unit)) {
      out.push_back(static_cast<char>(unit - kEscapeBase));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      Append(out, kReplacement);
    } else {
      Append(out, unit);
    }
  }
  return out;
}

// Calls `lone(i)` for every unit at i that is a surrogate outside a pair.
template <typename Lone>
void ForEachLoneSurrogate(std::u16string_view text, Lone lone) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0xD800 || unit > 0xDFFF)
      continue;
    if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      ++i;
    else
      lone(i);
  }
}

}  // namespace

size_t DecodeUtf8(const unsigned char* bytes, size_t count, char16_t* out, bool& valid) {
  return Decode<false>(bytes, count, out, valid);
}

bool Utf8ToUtf16(std::string_view utf8, std::u16string& out) {
  out.resize(utf8.size());
  bool valid = true;
  out.resize(DecodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(),
                        out.data(), valid));
  return valid;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  return Encode<false>(text);
}

std::u16string NameBytesToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  bool valid = true;
  out.resize(Decode<true>(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                          out.data(), valid));
  return out;
}

std::string Utf16ToNameBytes(std::u16string_view text) {
  return Encode<true>(text);
}

bool HoldsEscapedBytes(std::u16string_view text) {
  bool found = false;
  ForEachLoneSurrogate(text, [&](size_t i) { found = found || IsEscape(text[i]); });
  return found;
}

std::u16string ShownText(std::u16string_view text) {
  std::u16string shown(text);
  ForEachLoneSurrogate(text, [&](size_t i) { shown[i] = static_cast<char16_t>(kReplacement); });
  return shown;
}
