#include "text/text_format.h"

#include <string>

#include "platform/string_table.h"

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
  std::u16string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    if (c != u'%' || i + 1 == pattern.size()) {
      out += c;
      continue;
    }
    char16_t directive = pattern[i + 1];
    if (directive == u'%') {
      out += u'%';
      ++i;
    } else if (directive == u'd' && next != args.end() &&
               std::holds_alternative<std::int64_t>(*next)) {
      out += AsciiToText(std::to_string(std::get<std::int64_t>(*next++)));
      ++i;
    } else if (directive == u's' && next != args.end() &&
               std::holds_alternative<std::u16string_view>(*next)) {
      out += std::get<std::u16string_view>(*next++);
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string FormatString(unsigned id, std::initializer_list<FormatArg> args) {
  return FormatText(platform::LoadText(id), args);
}

std::u16string AsciiToText(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}
