#include "text/settings_store.h"

#include <cstring>

#include "text/quoted_list.h"
#include "text/text_history.h"

namespace {

// A stored list of recent entries larger than this is taken for damaged.
constexpr size_t kLargestHistoryBytes = size_t{1} << 20;

// Number values in the key and the field each holds.
struct NumberSlot {
  const char16_t* name;
  std::int32_t ProgramSettings::*field;
};

constexpr NumberSlot kLeadingNumbers[] = {
    {u"1", &ProgramSettings::keepFileDate},         {u"2", &ProgramSettings::replaceReadOnly},
    {u"3", &ProgramSettings::trimTrailingNewLines}, {u"4", &ProgramSettings::saveErrorLog},
    {u"5", &ProgramSettings::searchHidden},         {u"6", &ProgramSettings::outputCodePage},
    {u"7", &ProgramSettings::inputCodePage},        {u"8", &ProgramSettings::logType},
    {u"9", &ProgramSettings::maxFilesShown},        {u"10", &ProgramSettings::newLineMode}};

struct StateSlot {
  const char16_t* name;
  std::int32_t StoredDialogState::*field;
};

constexpr StateSlot kDialogChecks[] = {{u"19", &StoredDialogState::includeSubfolders},
                                       {u"20", &StoredDialogState::caseSensitive},
                                       {u"21", &StoredDialogState::confirmReplace},
                                       {u"22", &StoredDialogState::renameMode},
                                       {u"23", &StoredDialogState::action}};

class Reader {
 public:
  explicit Reader(SettingsKey& key) : key_(key) {}

  bool Number(const char16_t* name, std::int32_t& target) {
    unsigned char bytes[4] = {};
    size_t size = 0;
    if (key_.ReadBinary(name, bytes, sizeof bytes, size) != KeyReadStatus::Ok)
      return false;
    target = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
  }

  // A byte count and the characters; a count of 0 or less leaves the target as it is. The
  // characters may hold one terminating zero unit beyond the count, and never fewer bytes than
  // it: the buffer is sized by what is stored, not by a count that may be damaged.
  bool Text(const char16_t* countName, const char16_t* charactersName, std::u16string& target,
            bool& assigned) {
    assigned = false;
    std::int32_t count = 0;
    if (!Number(countName, count))
      return false;
    if (count <= 0)
      return true;
    const auto announced = static_cast<size_t>(count);
    size_t size = 0;
    if (key_.ValueSize(charactersName, size) != KeyReadStatus::Ok || size < announced ||
        size > announced + sizeof(char16_t))
      return false;
    std::vector<unsigned char> bytes(size);
    if (key_.ReadBinary(charactersName, bytes.data(), bytes.size(), size) != KeyReadStatus::Ok ||
        size < announced)
      return false;
    const size_t units = announced / sizeof(char16_t);
    std::u16string text(units, u'\0');
    if (units)
      std::memcpy(text.data(), bytes.data(), units * sizeof(char16_t));
    // The text ends at its first zero unit, as a stored C string would.
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    target = std::move(text);
    assigned = true;
    return true;
  }

  bool Text(const char16_t* countName, const char16_t* charactersName, std::u16string& target) {
    bool assigned = false;
    return Text(countName, charactersName, target, assigned);
  }

  // A list of recent entries (EncodeHistory).
  bool History(const char16_t* name, std::vector<std::u16string>& target) {
    size_t size = 0;
    if (key_.ValueSize(name, size) != KeyReadStatus::Ok || size > kLargestHistoryBytes)
      return false;
    std::vector<unsigned char> bytes(size);
    if (size > 0 &&
        (key_.ReadBinary(name, bytes.data(), bytes.size(), size) != KeyReadStatus::Ok ||
         size != bytes.size()))
      return false;
    return DecodeHistory(bytes, target);
  }

  // A text kept whole in one value, its size the count: an odd size or one beyond kMaxText
  // bytes is damage.
  bool WholeText(const char16_t* name, std::u16string& target) {
    constexpr size_t kMaxText = 65536;
    size_t size = 0;
    if (key_.ValueSize(name, size) != KeyReadStatus::Ok || size % 2 != 0 || size > kMaxText)
      return false;
    std::u16string text(size / sizeof(char16_t), u'\0');
    if (size != 0 &&
        (key_.ReadBinary(name, text.data(), size, size) != KeyReadStatus::Ok ||
         size != text.size() * sizeof(char16_t)))
      return false;
    target = std::move(text);
    return true;
  }

 private:
  SettingsKey& key_;
};

// The editor's command and the fields' recent entries.
bool ReadResultsValues(Reader& read, ProgramSettings& settings, StoredDialogState& state) {
  return read.Text(u"55", u"56", settings.editorCommand) &&
         read.History(u"57", state.findHistory) && read.History(u"58", state.replaceHistory) &&
         read.History(u"59", state.maskHistory) && read.History(u"63", state.excludeHistory);
}

// The values of the file filters, the dialog's Exclude field last.
constexpr NumberSlot kFilterNumbers[] = {{u"45", &ProgramSettings::skipBinaryFiles},
                                         {u"46", &ProgramSettings::useByteOrderMarks}};

struct TextSlot {
  const char16_t* name;
  std::u16string ProgramSettings::*field;
};

constexpr TextSlot kFilterTexts[] = {{u"47", &ProgramSettings::minFileSize},
                                     {u"48", &ProgramSettings::maxFileSize},
                                     {u"49", &ProgramSettings::modifiedAfter},
                                     {u"50", &ProgramSettings::modifiedBefore}};

constexpr const char16_t* kExclusionsValue = u"51";

bool ReadFilterValues(Reader& read, ProgramSettings& settings, StoredDialogState& state) {
  for (const NumberSlot& slot : kFilterNumbers)
    if (!read.Number(slot.name, settings.*slot.field))
      return false;
  for (const TextSlot& slot : kFilterTexts)
    if (!read.WholeText(slot.name, settings.*slot.field))
      return false;
  return read.WholeText(kExclusionsValue, state.exclusions);
}

bool ReadAll(SettingsKey& key, ProgramSettings& settings, StoredDialogState& state) {
  Reader read(key);
  for (const NumberSlot& slot : kLeadingNumbers)
    if (!read.Number(slot.name, settings.*slot.field))
      return false;
  if (!read.Text(u"11", u"12", settings.logDirectory))
    return false;
  if (!read.Text(u"13", u"14", state.searchPath))
    return false;
  if (!read.Text(u"15", u"16", state.masks))
    return false;
  std::u16string folders;
  bool foldersRead = false;
  if (!read.Text(u"17", u"18", folders, foldersRead))
    return false;
  if (foldersRead) {
    std::vector<std::u16string> parsed;
    if (!ParseQuotedList(folders, parsed))
      return false;
    state.recentFolders = std::move(parsed);
  }
  for (const StateSlot& slot : kDialogChecks)
    if (!read.Number(slot.name, state.*slot.field))
      return false;
  if (!read.Text(u"25", u"26", settings.backupDirectory))
    return false;
  return read.Number(u"27", settings.makeBackup) && read.Number(u"28", state.useRegex) &&
         read.Number(u"29", settings.regexMode) && read.Number(u"30", state.useVariables) &&
         read.Number(u"31", settings.searchOnlineOnly) && ReadFilterValues(read, settings, state) &&
         ReadResultsValues(read, settings, state);
}

class Writer {
 public:
  explicit Writer(SettingsKey& key) : key_(key) {}

  bool Number(const char16_t* name, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    return key_.WriteBinary(name, bytes, sizeof bytes);
  }

  bool WholeText(const char16_t* name, const std::u16string& text) {
    return key_.WriteBinary(name, text.data(), text.size() * sizeof(char16_t));
  }

  // Stores the byte count and the characters, the latter even when empty.
  bool Text(const char16_t* countName, const char16_t* charactersName, const std::u16string& text) {
    return Number(countName, static_cast<std::int32_t>(text.size() * sizeof(char16_t))) &&
           key_.WriteBinary(charactersName, text.data(), text.size() * sizeof(char16_t));
  }

  bool History(const char16_t* name, const std::vector<std::u16string>& history) {
    const std::vector<unsigned char> bytes = EncodeHistory(history);
    return key_.WriteBinary(name, bytes.data(), bytes.size());
  }

 private:
  SettingsKey& key_;
};

bool WriteFilterValues(Writer& write, const ProgramSettings& settings,
                       const StoredDialogState& state) {
  for (const NumberSlot& slot : kFilterNumbers)
    if (!write.Number(slot.name, settings.*slot.field))
      return false;
  for (const TextSlot& slot : kFilterTexts)
    if (!write.WholeText(slot.name, settings.*slot.field))
      return false;
  return write.WholeText(kExclusionsValue, state.exclusions);
}

bool WriteAll(SettingsKey& key, const ProgramSettings& settings, const StoredDialogState& state) {
  Writer write(key);
  for (const NumberSlot& slot : kLeadingNumbers)
    if (!write.Number(slot.name, settings.*slot.field))
      return false;
  if (!write.Text(u"11", u"12", settings.logDirectory) ||
      !write.Text(u"13", u"14", state.searchPath) || !write.Text(u"15", u"16", state.masks) ||
      !write.Text(u"17", u"18", JoinQuotedList(state.recentFolders)))
    return false;
  for (const StateSlot& slot : kDialogChecks)
    if (!write.Number(slot.name, state.*slot.field))
      return false;
  return write.Text(u"25", u"26", settings.backupDirectory) &&
         write.Number(u"27", settings.makeBackup) && write.Number(u"28", state.useRegex) &&
         write.Number(u"29", settings.regexMode) && write.Number(u"30", state.useVariables) &&
         write.Number(u"31", settings.searchOnlineOnly) &&
         WriteFilterValues(write, settings, state) &&
         write.Text(u"55", u"56", settings.editorCommand) &&
         write.History(u"57", state.findHistory) && write.History(u"58", state.replaceHistory) &&
         write.History(u"59", state.maskHistory) && write.History(u"63", state.excludeHistory) &&
         key.Flush();
}

}  // namespace

bool LoadSettings(SettingsKeyStore& store, ProgramSettings& settings, StoredDialogState& state) {
  std::unique_ptr<SettingsKey> key = store.Open(false);
  if (!key) {
    const ProgramSettings defaults;
    CopySettings(defaults, settings);
    return SaveSettings(store, settings, state);
  }
  bool complete = ReadAll(*key, settings, state);
  key.reset();
  if (complete)
    return true;
  return SaveSettings(store, settings, state);
}

bool SaveSettings(SettingsKeyStore& store, const ProgramSettings& settings,
                  const StoredDialogState& state) {
  std::unique_ptr<SettingsKey> key = store.Open(true);
  return key && WriteAll(*key, settings, state);
}
