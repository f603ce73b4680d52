#include "cli/result_lines.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>

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

// "Line number: %d. Character number: %d" split at its numbers once, so that a file with
// millions of matches is printed at the speed of copying.
class MatchPositionFormat {
 public:
  MatchPositionFormat() {
    const std::string text = Utf16ToUtf8(platform::LoadText(IDS_MATCH_POSITION));
    const size_t first = text.find("%d");
    const size_t second = first == std::string::npos ? first : text.find("%d", first + 2);
    if (second == std::string::npos || text.find('%', second + 2) != std::string::npos ||
        text.substr(0, first).find('%') != std::string::npos ||
        text.substr(first + 2, second - first - 2).find('%') != std::string::npos)
      return;  // not the plain form: FormatString does it
    parts_ = {text.substr(0, first), text.substr(first + 2, second - first - 2),
              text.substr(second + 2)};
    length_ = text.size() - 4;
  }

  // Appends a tab, the text and a line break.
  void AppendLine(std::int64_t line, std::int64_t character, std::string& out) const {
    if (!parts_) {
      out += '\t' + Utf16ToUtf8(FormatString(IDS_MATCH_POSITION, {line, character})) + '\n';
      return;
    }
    // Built on the stack and appended at once: the longest line is the fixed text and two
    // numbers of 20 digits.
    char stack[256];
    std::string heap;
    char* const begin = length_ + kNumbersAndBreaks <= sizeof stack
                            ? stack
                            : (heap.resize(length_ + kNumbersAndBreaks), heap.data());
    char* at = begin;
    *at++ = '\t';
    at = Copy((*parts_)[0], at);
    at = std::to_chars(at, at + 20, line).ptr;
    at = Copy((*parts_)[1], at);
    at = std::to_chars(at, at + 20, character).ptr;
    at = Copy((*parts_)[2], at);
    *at++ = '\n';
    out.append(begin, at);
  }

 private:
  static char* Copy(const std::string& part, char* at) {
    std::memcpy(at, part.data(), part.size());
    return at + part.size();
  }

  static constexpr size_t kNumbersAndBreaks = 2 * 20 + 2;

  std::optional<std::array<std::string, 3>> parts_;
  size_t length_ = 0;
};

const MatchPositionFormat& PositionFormat() {
  static const MatchPositionFormat format;
  return format;
}

}  // namespace

void AppendNumber(std::int64_t value, std::string& out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

namespace {

// Text handed on in pieces of about this size, so that a file with millions of matches is not
// built whole first.
constexpr size_t kPieceSize = 64 * 1024;

class PieceWriter {
 public:
  explicit PieceWriter(const TextSink& write) : write_(write) { text_.reserve(kPieceSize + 256); }
  ~PieceWriter() {
    if (!text_.empty())
      write_(text_);
  }
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  std::string& text() { return text_; }
  // Hands the text on once a piece is full.
  void Check() {
    if (text_.size() >= kPieceSize) {
      write_(text_);
      text_.clear();
    }
  }

 private:
  const TextSink& write_;
  std::string text_;
};

}  // namespace

void WriteFileResultLines(const CFileResult& file, const TextSink& write) {
  PieceWriter out(write);
  out.text() = Column(file.name) + '\t' + Column(file.typeName) + '\t' +
               Column(SizeText(file.size)) + '\t' + Column(DateText(file.modified)) + '\t' +
               Column(file.resultText) + '\t' + Column(file.folder) + '\n';
  const MatchPositionFormat& format = PositionFormat();
  for (const CFileResult::replace_info& match : file.matches) {
    format.AppendLine(match.line + 1, match.character + 1, out.text());
    out.Check();
  }
}

void WriteFileResultJson(const CFileResult& file, const TextSink& write) {
  Json object;
  object["type"] = "file";
  object["name"] = Utf16ToUtf8(file.name);
  object["folder"] = Utf16ToUtf8(file.folder);
  object["path"] = Utf16ToUtf8(FullPathOf(file));
  object["size"] = file.size;
  object["modified"] = IsoDateText(file.modified);
  object["result"] = Utf16ToUtf8(file.resultText);
  // The positions, possibly millions, are written directly after the rest of the object.
  PieceWriter out(write);
  std::string& line = out.text();
  line = JsonLine(object);
  line.resize(line.size() - 2);  // "}\n"
  line += ",\"matches\":[";
  for (size_t i = 0; i < file.matches.size(); ++i) {
    line += i == 0 ? "[" : ",[";
    AppendNumber(file.matches[i].line, line);
    line += ',';
    AppendNumber(file.matches[i].character, line);
    line += ']';
    out.Check();
  }
  line += "]}\n";
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
