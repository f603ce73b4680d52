#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

#include "platform/clock.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "run/file_limit_checks.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

const std::map<std::string, ActionType>& ActionNames() {
  static const std::map<std::string, ActionType> names{
      {"replace", ActionType::Replace},  {"find", ActionType::FindOnly},
      {"delete", ActionType::Delete},    {"before", ActionType::PlaceBefore},
      {"after", ActionType::PlaceAfter}, {"begin", ActionType::AddToBeginning},
      {"end", ActionType::AddToEnd}};
  return names;
}

const std::map<std::string, std::int32_t>& NewLineNames() {
  static const std::map<std::string, std::int32_t> names{
      {"crlf", kNewLineCrLf}, {"lf", kNewLineLf}, {"cr", kNewLineCr}, {"file", kNewLineAsInFile}};
  return names;
}

const std::map<std::string, ColorChoice>& ColorNames() {
  static const std::map<std::string, ColorChoice> names{
      {"auto", ColorChoice::Auto}, {"always", ColorChoice::Always}, {"never", ColorChoice::Never}};
  return names;
}

const std::map<std::string, std::int32_t>& LogTypeNames() {
  static const std::map<std::string, std::int32_t> names{{"text", kLogText}, {"html", kLogHtml}};
  return names;
}

template <typename Value>
std::vector<std::string> Keys(const std::map<std::string, Value>& map) {
  std::vector<std::string> keys;
  for (const auto& entry : map)
    keys.push_back(entry.first);
  return keys;
}

std::string Help(unsigned id) {
  return Utf16ToUtf8(platform::LoadText(id));
}

// A text argument in the program's UTF-16; false when it is not UTF-8.
bool TakeText(const std::string& utf8, const char* option, std::u16string& text,
              std::string& message) {
  if (Utf8ToUtf16(utf8, text))
    return true;
  message = Utf16ToUtf8(FormatString(IDS_CLI_ARGUMENT_NOT_UTF8, {AsciiToText(option)}));
  return false;
}

// A path argument: taken as the system takes a name, bytes that are not UTF-8 included.
std::u16string TakePath(const std::string& bytes) {
  return NameBytesToUtf16(bytes);
}

bool CheckCodePage(std::int32_t codePage, std::string& message) {
  static const CodePageCatalogue catalogue;
  if (catalogue.Find(codePage))
    return true;
  message = Utf16ToUtf8(FormatString(IDS_CLI_UNKNOWN_CODE_PAGE, {codePage}));
  return false;
}

// "X:" as the list's last item.
bool EndsInBareDrive(std::u16string_view paths) {
  const size_t n = paths.size();
  if (n < 2 || paths[n - 1] != u':' || (paths[n - 2] | 0x20) < u'a' || (paths[n - 2] | 0x20) > u'z')
    return false;
  return n == 2 || paths[n - 3] == u',' || paths[n - 3] == u' ' || paths[n - 3] == u'"';
}

// On a Windows command line "C:\dir\" arrives as C:\dir" (a backslash before a quote keeps the
// quote): a path list ending in a quote that closes nothing loses it. The backslash went too, so
// a bare drive gets it back. Returns the note to print; empty when the list is whole.
std::u16string MendTrailingQuote(std::u16string& paths) {
  if (paths.empty() || paths.back() != u'"' ||
      std::count(paths.begin(), paths.end(), u'"') % 2 == 0)
    return std::u16string();
  paths.pop_back();
  if (platform::kPathSeparator == u'\\' && EndsInBareDrive(paths))
    paths += platform::kPathSeparator;
  return FormatString(IDS_CLI_PATH_TRAILING_QUOTE, {std::u16string_view(paths)});
}

// The raw values as CLI11 leaves them, before they become the program's types.
struct RawOptions {
  std::string path;
  std::string mask;
  std::string find;
  std::string findFile;
  std::string replace;
  std::string replaceFile;
  std::string action = "replace";
  std::string newLine;
  std::string log;
  std::string logType = "text";
  std::string backupDir;
  std::string color = "auto";
  bool noSubfolders = false;
  bool undo = false;
  bool runs = false;
  bool recover = false;
  std::int32_t inputCodePage = 0;
  std::int32_t outputCodePage = 0;
  std::vector<std::string> exclude;
  bool excludePreset = false;
  std::string binary = "skip";
  std::string bom = "auto";
  std::string minSize;
  std::string maxSize;
  std::string newer;
  std::string older;
};

void DefineOptions(CLI::App& app, RawOptions& raw, CliOptions& options) {
  app.add_option("--path", raw.path, Help(IDS_CLI_HELP_PATH));
  app.add_option("--mask", raw.mask, Help(IDS_CLI_HELP_MASK));
  auto* find = app.add_option("--find", raw.find, Help(IDS_CLI_HELP_FIND));
  app.add_option("--find-file", raw.findFile, Help(IDS_CLI_HELP_FIND_FILE))->excludes(find);
  auto* replace = app.add_option("--replace", raw.replace, Help(IDS_CLI_HELP_REPLACE));
  app.add_option("--replace-file", raw.replaceFile, Help(IDS_CLI_HELP_REPLACE_FILE))
      ->excludes(replace);
  app.add_option("--action", raw.action, Help(IDS_CLI_HELP_ACTION))
      ->check(CLI::IsMember(Keys(ActionNames())));
  app.add_flag("--no-subfolders", raw.noSubfolders, Help(IDS_CLI_HELP_NO_SUBFOLDERS));
  app.add_flag("--case", options.fields.caseSensitive, Help(IDS_CLI_HELP_CASE));
  app.add_flag("--regex", options.fields.useRegex, Help(IDS_CLI_HELP_REGEX));
  app.add_flag("--vars", options.fields.useVariables, Help(IDS_CLI_HELP_VARS));
  app.add_flag("--rename", options.fields.renameMode, Help(IDS_CLI_HELP_RENAME));
  app.add_flag("--confirm", options.fields.confirmReplace, Help(IDS_CLI_HELP_CONFIRM));
  app.add_flag("--yes", options.yes, Help(IDS_CLI_HELP_YES));

  CliSettings& settings = options.settings;
  const auto zeroOrOne = CLI::IsMember({0, 1});
  app.add_option("--hidden", settings.searchHidden, Help(IDS_CLI_HELP_HIDDEN))->check(zeroOrOne);
  app.add_option("--read-only", settings.replaceReadOnly, Help(IDS_CLI_HELP_READ_ONLY))
      ->check(zeroOrOne);
  app.add_option("--keep-date", settings.keepFileDate, Help(IDS_CLI_HELP_KEEP_DATE))
      ->check(zeroOrOne);
  app.add_option("--trim-newlines", settings.trimTrailingNewLines, Help(IDS_CLI_HELP_TRIM_NEWLINES))
      ->check(zeroOrOne);
  app.add_option("--input-cp", raw.inputCodePage, Help(IDS_CLI_HELP_INPUT_CP));
  app.add_option("--output-cp", raw.outputCodePage, Help(IDS_CLI_HELP_OUTPUT_CP));
  app.add_option("--newline", raw.newLine, Help(IDS_CLI_HELP_NEWLINE))
      ->check(CLI::IsMember(Keys(NewLineNames())));
  app.add_option("--max-files", settings.maxFilesShown, Help(IDS_CLI_HELP_MAX_FILES))
      ->check(CLI::Range(0, kMaxFileLimit));
  app.add_option("--log", raw.log, Help(IDS_CLI_HELP_LOG));
  app.add_option("--log-type", raw.logType, Help(IDS_CLI_HELP_LOG_TYPE))
      ->check(CLI::IsMember(Keys(LogTypeNames())));
  app.add_flag("--online-files", settings.searchOnlineOnly, Help(IDS_CLI_HELP_ONLINE_FILES));
  app.add_flag("--json", options.json, Help(IDS_CLI_HELP_JSON));
  app.add_flag("--count", options.count, Help(IDS_CLI_HELP_COUNT));
  app.add_option("--backup", settings.makeBackup, Help(IDS_CLI_HELP_BACKUP))->check(zeroOrOne);
  app.add_option("--backup-dir", raw.backupDir, Help(IDS_CLI_HELP_BACKUP_DIR));
  auto* undo = app.add_flag("--undo", raw.undo, Help(IDS_CLI_HELP_UNDO));
  auto* runs = app.add_flag("--runs", raw.runs, Help(IDS_CLI_HELP_RUNS))->excludes(undo);
  app.add_flag("--recover", raw.recover, Help(IDS_CLI_HELP_RECOVER))->excludes(undo, runs);
  app.add_option("--exclude", raw.exclude, Help(IDS_CLI_HELP_EXCLUDE))
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_flag("--exclude-preset", raw.excludePreset, Help(IDS_CLI_HELP_EXCLUDE_PRESET));
  app.add_option("--binary", raw.binary, Help(IDS_CLI_HELP_BINARY))
      ->check(CLI::IsMember({"skip", "search"}));
  app.add_option("--bom", raw.bom, Help(IDS_CLI_HELP_BOM))->check(CLI::IsMember({"auto", "ignore"}));
  app.add_option("--min-size", raw.minSize, Help(IDS_CLI_HELP_MIN_SIZE));
  app.add_option("--max-size", raw.maxSize, Help(IDS_CLI_HELP_MAX_SIZE));
  app.add_option("--newer", raw.newer, Help(IDS_CLI_HELP_NEWER));
  app.add_option("--older", raw.older, Help(IDS_CLI_HELP_OLDER));
  app.add_flag("--preview", options.fields.preview, Help(IDS_CLI_HELP_PREVIEW));
  app.add_option("-U,--unified", options.context, Help(IDS_CLI_HELP_UNIFIED))
      ->check(CLI::Range(0, 1 << 20));
  app.add_option("--color", raw.color, Help(IDS_CLI_HELP_COLOR))
      ->check(CLI::IsMember(Keys(ColorNames())));
}

// The exclusions of every --exclude, joined into one list, and the preset's.
bool TakeExclusions(const RawOptions& raw, std::u16string& exclusions, std::string& message) {
  std::vector<std::u16string> lists;
  for (const std::string& list : raw.exclude) {
    if (!TakeText(list, "--exclude", lists.emplace_back(), message))
      return false;
  }
  if (raw.excludePreset)
    lists.push_back(platform::LoadText(IDS_EXCLUDE_PRESET));
  exclusions.clear();
  for (const std::u16string& list : lists)
    exclusions += (exclusions.empty() ? u"" : u",") + list;
  return true;
}

// A size or date limit, refused at once when malformed.
bool TakeLimit(const std::string& utf8, const char* option, bool size, std::u16string& text,
               std::string& message) {
  if (!TakeText(utf8, option, text, message))
    return false;
  std::optional<std::uint64_t> bytes;
  std::optional<std::int64_t> seconds;
  if (size ? ParseSizeLimit(text, bytes)
           : ParseDateLimit(text, platform::LocalCalendarTime(platform::CurrentFileTime()), seconds))
    return true;
  const std::u16string reason =
      FormatString(size ? IDS_BAD_SIZE_LIMIT : IDS_BAD_DATE_LIMIT, {std::u16string_view(text)});
  message = Utf16ToUtf8(FormatString(IDS_CLI_OPTION_REFUSED, {AsciiToText(option), reason}));
  return false;
}

// Turns the raw values into the options; false with `message` set when one is unusable.
bool TakeRawOptions(const CLI::App& app, const RawOptions& raw, CliOptions& options,
                    std::string& message) {
  RunFields& fields = options.fields;
  options.command = raw.undo      ? CliCommand::Undo
                    : raw.runs    ? CliCommand::Runs
                    : raw.recover ? CliCommand::Recover
                                  : CliCommand::Run;
  if (options.command == CliCommand::Run && !app.count("--path")) {
    message = Help(IDS_CLI_PATH_REQUIRED);
    return false;
  }
  options.settings.backupDirectory = TakePath(raw.backupDir);
  fields.searchPaths = TakePath(raw.path);
  if (!TakeText(raw.mask, "--mask", fields.masks, message) ||
      !TakeText(raw.find, "--find", fields.findText, message) ||
      !TakeText(raw.replace, "--replace", fields.replaceText, message))
    return false;
  options.pathNote = MendTrailingQuote(fields.searchPaths);
  if (app.count("--find-file"))
    options.findFile = TakePath(raw.findFile);
  if (app.count("--replace-file"))
    options.replaceFile = TakePath(raw.replaceFile);
  if (app.count("--log"))
    options.settings.logDirectory = TakePath(raw.log);
  if (!app.count("--mask"))
    fields.masks = platform::LoadText(IDS_DEFAULT_MASK);
  fields.action = ActionNames().at(raw.action);
  fields.includeSubfolders = !raw.noSubfolders;

  CliSettings& settings = options.settings;
  if (!CheckCodePage(raw.inputCodePage, message))
    return false;
  settings.inputCodePage = raw.inputCodePage;
  if (app.count("--output-cp")) {
    if (!CheckCodePage(raw.outputCodePage, message))
      return false;
    settings.outputCodePage = raw.outputCodePage;
  }
  if (app.count("--newline"))
    settings.newLineMode = NewLineNames().at(raw.newLine);
  settings.logType = LogTypeNames().at(raw.logType);
  settings.skipBinaryFiles = raw.binary == "skip" ? 1 : 0;
  settings.useByteOrderMarks = raw.bom == "auto" ? 1 : 0;
  options.color = ColorNames().at(raw.color);
  return TakeExclusions(raw, fields.exclusions, message) &&
         TakeLimit(raw.minSize, "--min-size", true, settings.minFileSize, message) &&
         TakeLimit(raw.maxSize, "--max-size", true, settings.maxFileSize, message) &&
         TakeLimit(raw.newer, "--newer", false, settings.modifiedAfter, message) &&
         TakeLimit(raw.older, "--older", false, settings.modifiedBefore, message);
}

}  // namespace

CliParse ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                         std::string& text) {
  CLI::App app(Utf16ToUtf8(platform::LoadText(IDS_CLI_DESCRIPTION)), "voxalon-cli");
  app.set_version_flag("--version", VOXALON_VERSION);
  RawOptions raw;
  DefineOptions(app, raw, options);

  std::vector<const char*> argv{"voxalon-cli"};
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    text = app.help();
    return CliParse::Exit;
  } catch (const CLI::CallForAllHelp&) {
    text = app.help("", CLI::AppFormatMode::All);
    return CliParse::Exit;
  } catch (const CLI::CallForVersion&) {
    text = std::string("voxalon-cli ") + VOXALON_VERSION + "\n";
    return CliParse::Exit;
  } catch (const CLI::ParseError& error) {
    text = error.what();
    return CliParse::Refused;
  }
  return TakeRawOptions(app, raw, options, text) ? CliParse::Run : CliParse::Refused;
}

void ApplyCliSettings(const CliSettings& source, ProgramSettings& settings) {
  settings.searchHidden = source.searchHidden;
  settings.replaceReadOnly = source.replaceReadOnly;
  settings.keepFileDate = source.keepFileDate;
  settings.trimTrailingNewLines = source.trimTrailingNewLines;
  settings.inputCodePage = source.inputCodePage;
  settings.outputCodePage = source.outputCodePage.value_or(source.inputCodePage);
  settings.newLineMode = source.newLineMode;
  settings.maxFilesShown = source.maxFilesShown;
  settings.saveErrorLog = source.logDirectory ? 1 : 0;
  settings.logDirectory = source.logDirectory.value_or(std::u16string());
  settings.logType = source.logType;
  settings.searchOnlineOnly = source.searchOnlineOnly ? 1 : 0;
  settings.makeBackup = source.makeBackup;
  settings.backupDirectory = source.backupDirectory;
  settings.skipBinaryFiles = source.skipBinaryFiles;
  settings.useByteOrderMarks = source.useByteOrderMarks;
  settings.minFileSize = source.minFileSize;
  settings.maxFileSize = source.maxFileSize;
  settings.modifiedAfter = source.modifiedAfter;
  settings.modifiedBefore = source.modifiedBefore;
}
