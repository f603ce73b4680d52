#include "processing/backup/run_journal.h"

#include <charconv>
#include <cstdio>

#include "text/utf8.h"

namespace {

constexpr std::string_view kMagic = "voxalon-journal\t1";

std::string Escaped(std::u16string_view text) {
  std::string out;
  std::u16string plain;
  const auto flush = [&] {
    out += Utf16ToUtf8(plain);
    plain.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const char* escape = unit == u'\\' ? "\\\\" : unit == u'\t' ? "\\t"
                         : unit == u'\n' ? "\\n" : unit == u'\r' ? "\\r" : nullptr;
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      plain += unit;
      plain += text[++i];
      continue;
    }
    if (!escape && !high && !low) {
      plain += unit;
      continue;
    }
    flush();
    if (escape) {
      out += escape;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(unit));
      out += hex;
    }
  }
  flush();
  return out;
}

bool Unescaped(std::string_view field, std::u16string& text) {
  text.clear();
  std::string plain;
  const auto flush = [&] {
    std::u16string part;
    if (!Utf8ToUtf16(plain, part))
      return false;
    text += part;
    plain.clear();
    return true;
  };
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      plain += field[i];
      continue;
    }
    if (++i >= field.size())
      return false;
    switch (field[i]) {
      case '\\': plain += '\\'; break;
      case 't': plain += '\t'; break;
      case 'n': plain += '\n'; break;
      case 'r': plain += '\r'; break;
      case 'u': {
        unsigned value = 0;
        if (i + 4 >= field.size())
          return false;
        const auto [end, error] = std::from_chars(field.data() + i + 1, field.data() + i + 5,
                                                  value, 16);
        if (error != std::errc() || end != field.data() + i + 5 || !flush())
          return false;
        text += static_cast<char16_t>(value);
        i += 4;
        break;
      }
      default:
        return false;
    }
  }
  return flush();
}

std::string Number(std::uint64_t value) {
  return std::to_string(value);
}

std::string Hex(std::uint64_t value) {
  char hex[20];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value));
  return hex;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos)
      return fields;
    start = tab + 1;
  }
}

template <typename Value>
bool ParseNumber(std::string_view field, Value& value, int base = 10) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, base);
  return error == std::errc() && end == field.data() + field.size() && !field.empty();
}

// The fields from `first` on: attributes, read-only, the five of the times.
std::string SavedStateFields(const JournalEntry& entry) {
  const platform::FileTimes& times = entry.times;
  return Number(entry.attributes.saved) + '\t' + (entry.attributes.readOnly ? "1" : "0") + '\t' +
         (entry.timesKnown ? "1" : "0") + '\t' + Number(times.creation) + '\t' +
         Number(times.lastAccess) + '\t' + Number(times.lastWrite) + '\t' +
         (times.hasCreation ? "1" : "0");
}

bool ParseSavedState(const std::vector<std::string_view>& fields, size_t first,
                     JournalEntry& entry) {
  int readOnly = 0;
  int known = 0;
  int hasCreation = 0;
  if (!ParseNumber(fields[first], entry.attributes.saved) ||
      !ParseNumber(fields[first + 1], readOnly) || !ParseNumber(fields[first + 2], known) ||
      !ParseNumber(fields[first + 3], entry.times.creation) ||
      !ParseNumber(fields[first + 4], entry.times.lastAccess) ||
      !ParseNumber(fields[first + 5], entry.times.lastWrite) ||
      !ParseNumber(fields[first + 6], hasCreation))
    return false;
  entry.attributes.readOnly = readOnly != 0;
  entry.timesKnown = known != 0;
  entry.times.hasCreation = hasCreation != 0;
  return true;
}

JournalEntry* EntryOf(RunJournal& run, std::string_view field) {
  int id = 0;
  if (!ParseNumber(field, id))
    return nullptr;
  for (JournalEntry& entry : run.entries) {
    if (entry.id == id)
      return &entry;
  }
  return nullptr;
}

bool ParseEntry(const std::vector<std::string_view>& fields, JournalEntryKind kind,
                JournalEntry& entry) {
  entry.kind = kind;
  if (!ParseNumber(fields[1], entry.id))
    return false;
  if (kind == JournalEntryKind::Rename)
    return fields.size() == 4 && Unescaped(fields[2], entry.path) &&
           Unescaped(fields[3], entry.newPath);
  return fields.size() == 13 && ParseNumber(fields[2], entry.offset) &&
         ParseNumber(fields[3], entry.size) && ParseNumber(fields[4], entry.hash, 16) &&
         ParseSavedState(fields, 5, entry) && Unescaped(fields[12], entry.path);
}

void ParseLine(std::string_view line, RunJournal& run) {
  const std::vector<std::string_view> fields = Fields(line);
  const std::string_view kind = fields[0];
  if (kind == "run" && fields.size() == 5) {
    int rename = 0;
    if (ParseNumber(fields[1], run.started) && ParseNumber(fields[2], run.action) &&
        ParseNumber(fields[3], rename) && Unescaped(fields[4], run.searchPaths))
      run.renameMode = rename != 0;
    return;
  }
  if (kind == "content" || kind == "delete" || kind == "rename") {
    JournalEntry entry;
    const JournalEntryKind entryKind = kind == "content"  ? JournalEntryKind::Content
                                       : kind == "delete" ? JournalEntryKind::Deletion
                                                          : JournalEntryKind::Rename;
    if (fields.size() >= 2 && ParseEntry(fields, entryKind, entry) && !EntryOf(run, fields[1]))
      run.entries.push_back(std::move(entry));
    return;
  }
  if (kind == "end") {
    run.ended = true;
    return;
  }
  if (kind == "undone") {
    run.undone = true;
    return;
  }
  JournalEntry* entry = fields.size() >= 2 ? EntryOf(run, fields[1]) : nullptr;
  if (!entry)
    return;
  if (kind == "done") {
    if (fields.size() == 4 && (!ParseNumber(fields[2], entry->newSize) ||
                               !ParseNumber(fields[3], entry->newHash, 16)))
      return;
    entry->state = JournalEntryState::Done;
  } else if (kind == "failed") {
    entry->state = JournalEntryState::Failed;
  } else if (kind == "restoring") {
    entry->state = JournalEntryState::Restoring;
  } else if (kind == "restored") {
    entry->state = JournalEntryState::Restored;
  }
}

}  // namespace

std::string JournalHeaderLines(const RunJournal& run) {
  return std::string(kMagic) + "\nrun\t" + Number(run.started) + '\t' + std::to_string(run.action) +
         '\t' + (run.renameMode ? "1" : "0") + '\t' + Escaped(run.searchPaths) + '\n';
}

std::string JournalEntryLine(const JournalEntry& entry) {
  const std::string id = std::to_string(entry.id);
  if (entry.kind == JournalEntryKind::Rename)
    return "rename\t" + id + '\t' + Escaped(entry.path) + '\t' + Escaped(entry.newPath) + '\n';
  return (entry.kind == JournalEntryKind::Content ? "content\t" : "delete\t") + id + '\t' +
         Number(entry.offset) + '\t' + Number(entry.size) + '\t' + Hex(entry.hash) + '\t' +
         SavedStateFields(entry) + '\t' + Escaped(entry.path) + '\n';
}

std::string JournalStateLine(const JournalEntry& entry) {
  const std::string id = std::to_string(entry.id);
  switch (entry.state) {
    case JournalEntryState::Done:
      if (entry.kind == JournalEntryKind::Content)
        return "done\t" + id + '\t' + Number(entry.newSize) + '\t' + Hex(entry.newHash) + '\n';
      return "done\t" + id + '\n';
    case JournalEntryState::Failed:
      return "failed\t" + id + '\n';
    case JournalEntryState::Restoring:
      return "restoring\t" + id + '\n';
    case JournalEntryState::Restored:
      return "restored\t" + id + '\n';
    case JournalEntryState::Started:
      break;
  }
  return std::string();
}

std::string JournalEndLine() {
  return "end\n";
}

std::string JournalUndoneLine() {
  return "undone\n";
}

bool ParseRunJournal(std::string_view text, RunJournal& run) {
  run = RunJournal();
  if (!text.starts_with(kMagic))
    return false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    // A last line without its line feed was cut short.
    if (end == std::string_view::npos)
      break;
    ParseLine(text.substr(start, end - start), run);
    start = end + 1;
  }
  return true;
}
