#include "cli/result_lines.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "platform/string_table.h"
#include "run/result_texts.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

using Json = nlohmann::ordered_json;

std::string Column(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit < 0x20 || unit == 0x7F)
      unit = u'?';
  }
  return Utf16ToUtf8(text);
}

std::string JsonLine(const Json& object) {
  // Strings come from Utf16ToUtf8 and are valid; replace keeps a stray byte from throwing.
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string FileResultLines(const CFileResult& file) {
  std::string lines = Column(file.name) + '\t' + Column(file.typeName) + '\t' +
                      Column(SizeText(file.size)) + '\t' + Column(DateText(file.modified)) + '\t' +
                      Column(file.resultText) + '\t' + Column(file.folder) + '\n';
  for (const CFileResult::replace_info& match : file.matches) {
    lines += '\t';
    lines += Utf16ToUtf8(FormatString(IDS_MATCH_POSITION, {match.line + 1, match.character + 1}));
    lines += '\n';
  }
  return lines;
}

std::string FileResultJson(const CFileResult& file) {
  Json matches = Json::array();
  for (const CFileResult::replace_info& match : file.matches)
    matches.push_back(Json::array({match.line, match.character}));
  Json object;
  object["type"] = "file";
  object["name"] = Utf16ToUtf8(file.name);
  object["folder"] = Utf16ToUtf8(file.folder);
  object["path"] = Utf16ToUtf8(FullPathOf(file));
  object["size"] = file.size;
  object["modified"] = IsoDateText(file.modified);
  object["result"] = Utf16ToUtf8(file.resultText);
  object["matches"] = std::move(matches);
  return JsonLine(object);
}

std::string ErrorJson(const std::u16string& text) {
  Json object;
  object["type"] = "error";
  object["text"] = Utf16ToUtf8(text);
  return JsonLine(object);
}

std::string EndJson(int found) {
  Json object;
  object["type"] = "end";
  object["found"] = found;
  return JsonLine(object);
}

std::u16string_view WithoutTrailingBreaks(std::u16string_view text) {
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n'))
    text.remove_suffix(1);
  return text;
}

std::string IsoDateText(const CalendarTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", unsigned{time.year},
                unsigned{time.month}, unsigned{time.day}, unsigned{time.hour},
                unsigned{time.minute}, unsigned{time.second});
  return text;
}
