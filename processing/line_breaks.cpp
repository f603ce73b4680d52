#include "processing/line_breaks.h"

#include <algorithm>

#include "text/program_settings.h"

namespace {

bool IsBreak(char16_t unit) {
  return unit == u'\r' || unit == u'\n';
}

// `unitAt` gives the text's units one by one.
template <class UnitAt>
std::int32_t ResolveFromUnits(std::int32_t setting, size_t length, UnitAt unitAt) {
  if (setting != kNewLineAsInFile)
    return setting;
  size_t i = 0;
  while (i < length && !IsBreak(unitAt(i)))
    ++i;
  if (i == length)
    return kNewLineAsInFile;
  if (i + 1 < length && IsBreak(unitAt(i + 1)))
    return kNewLineCrLf;
  return unitAt(i) == u'\n' ? kNewLineLf : kNewLineCr;
}

}  // namespace

std::int32_t ResolveNewLineMode(std::int32_t setting, std::u16string_view text) {
  return ResolveFromUnits(setting, text.size(), [text](size_t i) { return text[i]; });
}

std::int32_t ResolveNewLineMode(std::int32_t setting, std::span<const unsigned char> bytes,
                                const ByteTable& table) {
  return ResolveFromUnits(setting, bytes.size(),
                          [bytes, &table](size_t i) { return table[bytes[i]]; });
}

void ConvertLineBreaks(std::u16string& text, std::int32_t resolvedMode) {
  std::erase(text, u'\r');
  if (resolvedMode == kNewLineLf)
    return;
  if (resolvedMode == kNewLineCr) {
    std::replace(text.begin(), text.end(), u'\n', u'\r');
    return;
  }
  std::u16string converted;
  converted.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), u'\n')));
  for (char16_t unit : text) {
    if (unit == u'\n')
      converted += u'\r';
    converted += unit;
  }
  text = std::move(converted);
}
