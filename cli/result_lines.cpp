#include "cli/result_lines.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/name_bytes.h"
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

// The bytes in lowercase hexadecimal, two digits each.
std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (const char byte : bytes) {
    hex.push_back(kDigits[static_cast<unsigned char>(byte) >> 4]);
    hex.push_back(kDigits[static_cast<unsigned char>(byte) & 0xF]);
  }
  return hex;
}

std::string JsonLine(const Json& object) {
  // Strings come from Utf16ToUtf8 and are valid; replace keeps a stray byte from throwing.
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

// "00" to "99", for writing numbers two digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the number in decimal at `at`, which has room for 20 digits and a sign; returns the end.
char* WriteDecimal(char* at, std::int64_t value) {
  std::uint64_t rest = static_cast<std::uint64_t>(value);
  if (value < 0) {
    *at++ = '-';
    rest = 0 - rest;
  }
  int digits = 1;
  for (std::uint64_t bound = 10; digits < 20 && rest >= bound; bound *= 10)
    ++digits;
  char* const end = at + digits;
  char* p = end;
  while (rest >= 100) {
    const auto pair = static_cast<size_t>(rest % 100);
    rest /= 100;
    p -= 2;
    p[0] = kDigitPairs[2 * pair];
    p[1] = kDigitPairs[2 * pair + 1];
  }
  if (rest >= 10) {
    p[-2] = kDigitPairs[2 * rest];
    p[-1] = kDigitPairs[2 * rest + 1];
  } else {
    p[-1] = static_cast<char>('0' + rest);
  }
  return end;
}

// Room after a piece of output for one more line of the plain form: its fixed text, two numbers
// and what the fixed-size copies of short parts write beyond their end.
constexpr size_t kLineRoom = 512;

// A fixed text of a match line, copied with one fixed-size move where it is short.
class LinePart {
 public:
  LinePart() = default;
  explicit LinePart(std::string text) : text_(std::move(text)) {
    std::memcpy(padded_, text_.data(), std::min(text_.size(), sizeof padded_));
  }
  size_t size() const { return text_.size(); }
  char* CopyTo(char* at) const {
    if (text_.size() <= sizeof padded_)
      std::memcpy(at, padded_, sizeof padded_);
    else
      std::memcpy(at, text_.data(), text_.size());
    return at + text_.size();
  }
  static constexpr size_t kPadded = 32;

 private:
  std::string text_;
  char padded_[kPadded] = {};
};

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
        text.substr(first + 2, second - first - 2).find('%') != std::string::npos ||
        text.size() + 2 * kDigits + 2 + LinePart::kPadded > kLineRoom)
      return;  // not the plain form, or too long for the room: FormatString does it
    parts_ = {LinePart('\t' + text.substr(0, first)),
              LinePart(text.substr(first + 2, second - first - 2)),
              LinePart(text.substr(second + 2) + '\n')};
    plain_ = true;
  }

  bool plain() const { return plain_; }

  // Writes a tab, the text and a line break of the plain form at `at`, which has kLineRoom bytes
  // of room; returns the end.
  char* WriteLine(char* at, std::int64_t line, std::int64_t character) const {
    at = parts_[0].CopyTo(at);
    at = WriteDecimal(at, line);
    at = parts_[1].CopyTo(at);
    at = WriteDecimal(at, character);
    return parts_[2].CopyTo(at);
  }

  // The line of any other form.
  std::string Line(std::int64_t line, std::int64_t character) const {
    return '\t' + Utf16ToUtf8(FormatString(IDS_MATCH_POSITION, {line, character})) + '\n';
  }

 private:
  static constexpr size_t kDigits = 21;

  std::array<LinePart, 3> parts_;
  bool plain_ = false;
};

const MatchPositionFormat& PositionFormat() {
  static const MatchPositionFormat format;
  return format;
}

}  // namespace

namespace {

// Text handed on in pieces of about this size, so that a file with millions of matches is not
// built whole first; below the size the heap maps afresh for every block.
constexpr size_t kPieceSize = 64 * 1024;

// Output gathered into pieces, with kLineRoom bytes of room after each.
class PieceWriter {
 public:
  explicit PieceWriter(const TextSink& write)
      : write_(write), buffer_(std::make_unique_for_overwrite<char[]>(kPieceSize + kLineRoom)) {}
  ~PieceWriter() { Flush(); }
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  void Append(std::string_view text) {
    if (used_ + text.size() > kPieceSize) {
      Flush();
      if (text.size() > kPieceSize) {
        write_(text);
        return;
      }
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
  }
  // Where up to kLineRoom bytes may be written, ended by Commit.
  char* End() { return buffer_.get() + used_; }
  void Commit(const char* end) {
    used_ = static_cast<size_t>(end - buffer_.get());
    if (used_ >= kPieceSize)
      Flush();
  }

 private:
  void Flush() {
    if (used_ != 0)
      write_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

  const TextSink& write_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
};

}  // namespace

void WriteFileResultLines(const CFileResult& file, const TextSink& write, bool positions) {
  const std::string row = Column(file.name) + '\t' + Column(file.typeName) + '\t' +
                          Column(SizeText(file.size)) + '\t' + Column(DateText(file.modified)) +
                          '\t' + Column(file.resultText) + '\t' + Column(file.folder) + '\n';
  if (!positions || file.matches.empty()) {
    write(row);
    return;
  }
  PieceWriter out(write);
  out.Append(row);
  const MatchPositionFormat& format = PositionFormat();
  for (const CFileResult::replace_info& match : file.matches) {
    if (format.plain())
      out.Commit(format.WriteLine(out.End(), match.line + 1, match.character + 1));
    else
      out.Append(format.Line(match.line + 1, match.character + 1));
  }
}

namespace {

constexpr const char* kReasonNames[kSkipReasons] = {"", "binary", "excluded", "size", "date"};

// The fields of a file object, after "type".
Json FileObject(const char* type, const CFileResult& file) {
  Json object;
  object["type"] = type;
  object["name"] = Utf16ToUtf8(file.name);
  object["folder"] = Utf16ToUtf8(file.folder);
  const std::u16string path = FullPathOf(file);
  object["path"] = Utf16ToUtf8(path);
  // JSON strings show a byte that is not UTF-8 as U+FFFD; the exact bytes go alongside.
  if (platform::kNamesAreBytes && HoldsEscapedBytes(path)) {
    object["nameHex"] = Hex(Utf16ToNameBytes(file.name));
    object["pathHex"] = Hex(Utf16ToNameBytes(path));
  }
  object["size"] = file.size;
  object["modified"] = IsoDateText(file.modified);
  object["result"] = Utf16ToUtf8(file.resultText);
  return object;
}

}  // namespace

std::string SkippedJson(const CFileResult& file) {
  Json object = FileObject("skipped", file);
  object["reason"] = kReasonNames[static_cast<size_t>(file.skipped)];
  return JsonLine(object);
}

void WriteFileResultJson(const CFileResult& file, const TextSink& write,
                         std::string_view members, bool positions) {
  Json object = FileObject("file", file);
  if (!positions) {
    object["count"] = file.matches.size();
    std::string line = JsonLine(object);
    line.insert(line.size() - 2, members);
    write(line);
    return;
  }
  // The positions, possibly millions, are written directly after the rest of the object.
  PieceWriter out(write);
  std::string head = JsonLine(object);
  head.resize(head.size() - 2);  // "}\n"
  out.Append(head);
  out.Append(",\"matches\":[");
  for (size_t i = 0; i < file.matches.size(); ++i) {
    char* at = out.End();
    if (i != 0)
      *at++ = ',';
    *at++ = '[';
    at = WriteDecimal(at, file.matches[i].line);
    *at++ = ',';
    at = WriteDecimal(at, file.matches[i].character);
    *at++ = ']';
    out.Commit(at);
  }
  out.Append("]");
  out.Append(members);
  out.Append("}\n");
}

std::string ErrorJson(const std::u16string& text) {
  Json object;
  object["type"] = "error";
  object["text"] = Utf16ToUtf8(text);
  return JsonLine(object);
}

std::string EndJson(int found, const SkipCounts& skips) {
  Json object;
  object["type"] = "end";
  object["found"] = found;
  Json skipped = Json::object();
  for (size_t reason = 1; reason < kSkipReasons; ++reason) {
    if (skips.byReason[reason] != 0)
      skipped[kReasonNames[reason]] = skips.byReason[reason];
  }
  if (!skipped.empty())
    object["skipped"] = std::move(skipped);
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
