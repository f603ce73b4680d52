#include "text/text_history.h"

#include <algorithm>
#include <cstdint>

void RememberEntry(std::vector<std::u16string>& history, const std::u16string& entry,
                   size_t limit) {
  if (entry.empty())
    return;
  history.erase(std::remove(history.begin(), history.end(), entry), history.end());
  history.insert(history.begin(), entry);
  if (history.size() > limit)
    history.resize(limit);
}

std::u16string HistoryEntryLabel(const std::u16string& entry) {
  std::u16string label;
  size_t shown = 0;
  for (size_t i = 0; i < entry.size(); ++i) {
    if (shown == kHistoryLabelUnits) {
      label += u'\u2026';
      break;
    }
    const char16_t unit = entry[i];
    ++shown;
    if (unit == u'\r' && i + 1 < entry.size() && entry[i + 1] == u'\n')
      ++i;
    if (unit == u'\r' || unit == u'\n')
      label += u'\u21B5';
    else if (unit == u'\t')
      label += u' ';
    else if (unit == u'&')
      label += u"&&";
    else
      label += unit;
  }
  return label;
}

std::vector<unsigned char> EncodeHistory(const std::vector<std::u16string>& history) {
  std::vector<unsigned char> bytes;
  for (const std::u16string& entry : history) {
    const auto count = static_cast<std::uint32_t>(entry.size());
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<unsigned char>(count >> shift));
    for (char16_t unit : entry) {
      bytes.push_back(static_cast<unsigned char>(unit));
      bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
  }
  return bytes;
}

bool DecodeHistory(const std::vector<unsigned char>& bytes, std::vector<std::u16string>& history) {
  std::vector<std::u16string> entries;
  size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 4 || entries.size() == kTextHistoryLength)
      return false;
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
      count |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    at += 4;
    if (count == 0 || (bytes.size() - at) / 2 < count)
      return false;
    std::u16string entry(count, u'\0');
    for (char16_t& unit : entry) {
      unit = static_cast<char16_t>(bytes[at] | bytes[at + 1] << 8);
      at += 2;
    }
    entries.push_back(std::move(entry));
  }
  history = std::move(entries);
  return true;
}
