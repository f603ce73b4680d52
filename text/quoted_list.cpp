#include "text/quoted_list.h"

namespace {

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && IsListBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsListBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

// Trims the item, turns a quote at either end into a blank and trims again.
bool CleanItem(std::u16string_view raw, std::u16string& item) {
  std::u16string_view trimmed = TrimBlanks(raw);
  if (trimmed.empty())
    return false;
  item.assign(trimmed);
  if (item.front() == u'"')
    item.front() = u' ';
  if (item.back() == u'"')
    item.back() = u' ';
  std::u16string_view cleaned = TrimBlanks(item);
  if (cleaned.empty())
    return false;
  item = std::u16string(cleaned);
  return true;
}

}  // namespace

bool IsListBlank(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool ParseQuotedList(std::u16string_view text, std::vector<std::u16string>& out) {
  out.clear();
  if (text.empty())
    return false;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(u',', start);
    std::u16string item;
    if (!CleanItem(
            text.substr(start, comma == std::u16string_view::npos ? text.npos : comma - start),
            item)) {
      out.clear();
      return false;
    }
    out.push_back(std::move(item));
    if (comma == std::u16string_view::npos)
      return true;
    start = comma + 1;
  }
}

std::u16string JoinQuotedList(const std::vector<std::u16string>& items) {
  std::u16string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0)
      text += u',';
    text += u'"';
    text += items[i];
    text += u'"';
  }
  return text;
}
