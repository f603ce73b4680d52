#include "cli/preview_lines.h"

#include <nlohmann/json.hpp>

#include <vector>

#include "platform/lower_case.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "processing/preview_diff.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kBold = "\x1b[1m";
constexpr const char* kCyan = "\x1b[36m";
constexpr const char* kRed = "\x1b[31m";
constexpr const char* kGreen = "\x1b[32m";
constexpr const char* kReset = "\x1b[m";

bool IsSeparator(char16_t unit) {
  return unit == u'/' || unit == platform::kPathSeparator;
}

std::vector<std::u16string_view> Names(std::u16string_view path) {
  std::vector<std::u16string_view> names;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (i > start || names.empty())  // an empty first name keeps the root apart
        names.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return names;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (platform::kPathSeparator == u'/')
    return a == b;
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (platform::LowerCaseUnit(a[i]) != platform::LowerCaseUnit(b[i]))
      return false;
  }
  return true;
}

// The path's bytes as a diff header shows them: the system's bytes of a name on POSIX.
std::string PathBytes(const std::u16string& path) {
  return Utf16ToNameBytes(path);
}

std::string Shown(const std::u16string& path, const PreviewStyle& style) {
  return PathBytes(RelativePath(path, style.base));
}

// Colours a line's text, its line break left after the colour ends.
std::string Colored(const char* color, std::string_view line, bool on) {
  if (!on)
    return std::string(line);
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r'))
    --end;
  return color + std::string(line.substr(0, end)) + kReset + std::string(line.substr(end));
}

std::string DecodedNote(std::int32_t codePage) {
  return '\t' + Utf16ToUtf8(FormatString(IDS_PREVIEW_DECODED_NOTE, {codePage}));
}

// The header line's name, with a tab after a name holding a space so that patch takes it whole.
std::string HeaderName(const std::string& prefix, const std::string& path) {
  std::string quoted = QuotedDiffName(prefix + path);
  if (quoted.find(' ') != std::string::npos && quoted.front() != '"')
    quoted += '\t';
  return quoted;
}

std::string NameChange(const CFileResult& file, const FilePreview& preview,
                       const PreviewStyle& style) {
  const std::u16string from = RelativePath(FullPathOf(file), style.base);
  if (preview.toRecycleBin)
    return Utf16ToUtf8(ShownText(FormatString(IDS_PREVIEW_RECYCLE_BIN, {from})));
  const std::u16string to =
      RelativePath(platform::JoinPath(file.folder, preview.newName), style.base);
  return Utf16ToUtf8(ShownText(FormatString(IDS_PREVIEW_RENAME, {from, to})));
}

}  // namespace

std::u16string RelativePath(const std::u16string& path, const std::u16string& base) {
  const std::vector<std::u16string_view> target = Names(path);
  const std::vector<std::u16string_view> from = Names(base);
  size_t common = 0;
  while (common < target.size() && common < from.size() &&
         SameName(target[common], from[common]))
    ++common;
  if (common == 0) {
    std::u16string whole = path;
    for (char16_t& unit : whole)
      if (IsSeparator(unit))
        unit = u'/';
    return whole;
  }
  std::u16string relative;
  for (size_t i = common; i < from.size(); ++i) {
    if (!from[i].empty())
      relative += u"../";
  }
  for (size_t i = common; i < target.size(); ++i) {
    relative += target[i];
    if (i + 1 < target.size())
      relative += u'/';
  }
  return relative;
}

std::string QuotedDiffName(const std::string& bytes) {
  bool quote = false;
  for (unsigned char c : bytes)
    quote = quote || c < 0x20 || c >= 0x7F || c == '"' || c == '\\';
  if (!quote)
    return bytes;
  std::string text = "\"";
  for (unsigned char c : bytes) {
    static constexpr char kLetters[] = "abtnvfr";
    if (c == '"' || c == '\\') {
      text += '\\';
      text += static_cast<char>(c);
    } else if (c >= 7 && c <= 13) {
      text += '\\';
      text += kLetters[c - 7];
    } else if (c < 0x20 || c >= 0x7F) {
      const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                            static_cast<char>('0' + ((c >> 3) & 7)),
                            static_cast<char>('0' + (c & 7))};
      text.append(octal, sizeof octal);
    } else {
      text += static_cast<char>(c);
    }
  }
  return text + '"';
}

void WritePreviewLines(const CFileResult& file, const FilePreview& preview,
                       const PreviewStyle& style, const TextSink& write) {
  if (preview.renames || preview.toRecycleBin) {
    write(NameChange(file, preview, style) + '\n');
    return;
  }
  const PreviewDiff diff = DiffOfPreview(preview, style.context);
  if (diff.hunks.empty())
    return;
  const std::string path = Shown(FullPathOf(file), style);
  std::string text =
      Colored(kBold,
              "--- " + HeaderName("a/", path) +
                  (diff.patchable ? "" : DecodedNote(preview.readCodePage)) + "\n",
              style.color) +
      Colored(kBold,
              "+++ " + HeaderName("b/", path) +
                  (diff.patchable ? "" : DecodedNote(preview.writeCodePage)) + "\n",
              style.color);
  for (const DiffHunk& hunk : diff.hunks) {
    text += Colored(kCyan, HunkHeader(hunk) + "\n", style.color);
    for (const DiffLine& line : hunk.lines) {
      const char* color = line.kind == '-' ? kRed : line.kind == '+' ? kGreen : nullptr;
      const std::string shown = line.kind + line.text;
      text += color ? Colored(color, shown, style.color) : shown;
      if (line.text.empty() || line.text.back() != '\n')
        text += "\n\\ No newline at end of file\n";
    }
    if (text.size() >= 64 * 1024) {
      write(text);
      text.clear();
    }
  }
  write(text);
}

std::string PreviewJsonMember(const CFileResult& file, const FilePreview& preview,
                              const PreviewStyle& style) {
  Json object;
  if (preview.toRecycleBin) {
    object["recycleBin"] = true;
  } else if (preview.renames) {
    object["newName"] = Utf16ToUtf8(preview.newName);
    object["newPath"] = Utf16ToUtf8(platform::JoinPath(file.folder, preview.newName));
  } else {
    const PreviewDiff diff = DiffOfPreview(preview, style.context);
    object["patchable"] = diff.patchable;
    if (!diff.patchable) {
      object["readCodePage"] = preview.readCodePage;
      object["writeCodePage"] = preview.writeCodePage;
    }
    Json hunks = Json::array();
    for (const DiffHunk& hunk : diff.hunks) {
      Json lines = Json::array();
      for (const DiffLine& line : hunk.lines)
        lines.push_back(line.kind + line.text);
      hunks.push_back({{"oldStart", hunk.oldStart},
                       {"oldLines", hunk.oldCount},
                       {"newStart", hunk.newStart},
                       {"newLines", hunk.newCount},
                       {"lines", std::move(lines)}});
    }
    object["hunks"] = std::move(hunks);
  }
  return ",\"preview\":" + object.dump(-1, ' ', false, Json::error_handler_t::replace);
}
