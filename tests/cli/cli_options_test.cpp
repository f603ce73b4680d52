#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "platform/path_separator.h"
#include "platform/string_table.h"

namespace {

struct Parsed {
  CliParse outcome;
  CliOptions options;
  std::string text;
};

Parsed Parse(std::vector<std::string> arguments) {
  Parsed parsed;
  parsed.outcome = ParseCliOptions(arguments, parsed.options, parsed.text);
  return parsed;
}

TEST(CliOptions, DefaultsAreTheDialogsAndTheSettingsDefaults) {
  Parsed parsed = Parse({"--path", "/data"});
  ASSERT_EQ(parsed.outcome, CliParse::Run) << parsed.text;
  const CliOptions& options = parsed.options;
  EXPECT_EQ(options.fields.searchPaths, u"/data");
  EXPECT_EQ(options.fields.masks, platform::LoadText(IDS_DEFAULT_MASK));
  EXPECT_EQ(options.fields.action, ActionType::Replace);
  EXPECT_TRUE(options.fields.includeSubfolders);
  EXPECT_FALSE(options.fields.caseSensitive || options.fields.useRegex ||
               options.fields.useVariables || options.fields.renameMode ||
               options.fields.confirmReplace || options.yes || options.json);
  EXPECT_FALSE(options.findFile || options.replaceFile);

  ProgramSettings defaults;
  ProgramSettings settings;
  settings.searchHidden = 7;
  ApplyCliSettings(options.settings, settings);
  EXPECT_EQ(settings.searchHidden, defaults.searchHidden);
  EXPECT_EQ(settings.replaceReadOnly, defaults.replaceReadOnly);
  EXPECT_EQ(settings.keepFileDate, defaults.keepFileDate);
  EXPECT_EQ(settings.trimTrailingNewLines, defaults.trimTrailingNewLines);
  EXPECT_EQ(settings.inputCodePage, defaults.inputCodePage);
  EXPECT_EQ(settings.outputCodePage, defaults.outputCodePage);
  EXPECT_EQ(settings.newLineMode, defaults.newLineMode);
  EXPECT_EQ(settings.maxFilesShown, defaults.maxFilesShown);
  EXPECT_EQ(settings.saveErrorLog, 0);
  EXPECT_EQ(settings.logType, kLogText);
  EXPECT_EQ(settings.searchOnlineOnly, 0);
}

TEST(CliOptions, EveryOptionReachesItsFieldOrSetting) {
  Parsed parsed = Parse({"--path",
                         "\"a b\";c",
                         "--mask",
                         "*.txt",
                         "--find",
                         "x\ny",
                         "--replace",
                         "\xC3\xA9",
                         "--action",
                         "after",
                         "--no-subfolders",
                         "--case",
                         "--regex",
                         "--vars",
                         "--rename",
                         "--confirm",
                         "--yes",
                         "--hidden",
                         "0",
                         "--read-only",
                         "1",
                         "--keep-date",
                         "1",
                         "--trim-newlines",
                         "0",
                         "--input-cp",
                         "1252",
                         "--newline",
                         "cr",
                         "--max-files",
                         "25",
                         "--log",
                         "/logs",
                         "--log-type",
                         "html",
                         "--online-files",
                         "--json"});
  ASSERT_EQ(parsed.outcome, CliParse::Run) << parsed.text;
  const CliOptions& options = parsed.options;
  EXPECT_EQ(options.fields.searchPaths, u"\"a b\";c");
  EXPECT_EQ(options.fields.masks, u"*.txt");
  EXPECT_EQ(options.fields.findText, u"x\ny");
  EXPECT_EQ(options.fields.replaceText, u"\u00e9");
  EXPECT_EQ(options.fields.action, ActionType::PlaceAfter);
  EXPECT_FALSE(options.fields.includeSubfolders);
  EXPECT_TRUE(options.fields.caseSensitive && options.fields.useRegex &&
              options.fields.useVariables && options.fields.renameMode &&
              options.fields.confirmReplace && options.yes && options.json);

  ProgramSettings settings;
  ApplyCliSettings(options.settings, settings);
  EXPECT_EQ(settings.searchHidden, 0);
  EXPECT_EQ(settings.replaceReadOnly, 1);
  EXPECT_EQ(settings.keepFileDate, 1);
  EXPECT_EQ(settings.trimTrailingNewLines, 0);
  EXPECT_EQ(settings.inputCodePage, 1252);
  EXPECT_EQ(settings.outputCodePage, 1252);  // the same as the input without --output-cp
  EXPECT_EQ(settings.newLineMode, kNewLineCr);
  EXPECT_EQ(settings.maxFilesShown, 25);
  EXPECT_EQ(settings.saveErrorLog, 1);
  EXPECT_EQ(settings.logDirectory, u"/logs");
  EXPECT_EQ(settings.logType, kLogHtml);
  EXPECT_EQ(settings.searchOnlineOnly, 1);

  parsed = Parse({"--path", "p", "--input-cp", "1252", "--output-cp", "65001"});
  ASSERT_EQ(parsed.outcome, CliParse::Run) << parsed.text;
  ApplyCliSettings(parsed.options.settings, settings);
  EXPECT_EQ(settings.outputCodePage, 65001);
}

TEST(CliOptions, ActionAndNewLineNamesMapInOrder) {
  const std::pair<const char*, ActionType> actions[] = {
      {"replace", ActionType::Replace},  {"find", ActionType::FindOnly},
      {"delete", ActionType::Delete},    {"before", ActionType::PlaceBefore},
      {"after", ActionType::PlaceAfter}, {"begin", ActionType::AddToBeginning},
      {"end", ActionType::AddToEnd}};
  for (const auto& [name, action] : actions) {
    Parsed parsed = Parse({"--path", "p", "--action", name});
    ASSERT_EQ(parsed.outcome, CliParse::Run) << name;
    EXPECT_EQ(parsed.options.fields.action, action) << name;
  }
  const std::pair<const char*, std::int32_t> newLines[] = {
      {"crlf", kNewLineCrLf}, {"lf", kNewLineLf}, {"cr", kNewLineCr}, {"file", kNewLineAsInFile}};
  for (const auto& [name, mode] : newLines) {
    Parsed parsed = Parse({"--path", "p", "--newline", name});
    ASSERT_EQ(parsed.outcome, CliParse::Run) << name;
    EXPECT_EQ(parsed.options.settings.newLineMode, mode) << name;
  }
}

TEST(CliOptions, PathsKeepBytesThatAreNotUtf8) {
  Parsed parsed = Parse(
      {"--path", "p\xC3", "--find-file", "f\xE9.txt", "--replace-file", "r.txt", "--log", "l\xFF"});
  ASSERT_EQ(parsed.outcome, CliParse::Run) << parsed.text;
  EXPECT_EQ(parsed.options.fields.searchPaths, u"p\xDCC3");
  EXPECT_EQ(parsed.options.findFile.value_or(u""), u"f\xDCE9.txt");
  EXPECT_EQ(parsed.options.replaceFile.value_or(u""), u"r.txt");
  EXPECT_EQ(parsed.options.settings.logDirectory.value_or(u""), u"l\xDCFF");
}

// The C runtime's quoting turns "C:\dir\" into C:\dir".
TEST(CliOptions, PathEndingInAStrayQuoteIsMendedWithANote) {
  const std::u16string drive = platform::kPathSeparator == u'\\' ? u"C:\\" : u"C:";
  struct Case {
    const char* argument;
    std::u16string paths;
    bool note;
  } cases[] = {
      {"C:\\dir\"", u"C:\\dir", true},
      {"C:\"", drive, true},
      {"\"a b\",d\"", u"\"a b\",d", true},
      {"\"a b\",\"d\"", u"\"a b\",\"d\"", false},  // the quotes pair up
      {"/data", u"/data", false},
  };
  for (const Case& c : cases) {
    Parsed parsed = Parse({"--path", c.argument});
    ASSERT_EQ(parsed.outcome, CliParse::Run) << c.argument;
    EXPECT_EQ(parsed.options.fields.searchPaths, c.paths) << c.argument;
    EXPECT_EQ(!parsed.options.pathNote.empty(), c.note) << c.argument;
  }
}

TEST(CliOptions, UnusableCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"--find", "x"},
      {"--path", "p", "--bogus"},
      {"--path", "p", "--find", "x", "--find-file", "f"},
      {"--path", "p", "--replace", "x", "--replace-file", "f"},
      {"--path", "p", "--action", "rename"},
      {"--path", "p", "--hidden", "2"},
      {"--path", "p", "--read-only", "yes"},
      {"--path", "p", "--newline", "crcr"},
      {"--path", "p", "--max-files", "1000001"},
      {"--path", "p", "--max-files", "-1"},
      {"--path", "p", "--log-type", "xml"},
      {"--path", "p", "--input-cp", "12345"},
      {"--path", "p", "--output-cp", "-7"},
      {"--path", "p", "--find", "bad \xFF byte"},
      {"--path", "p", "--mask", "\xC3"},
      {"--path", "p", "--binary", "yes"},
      {"--path", "p", "--bom", "utf8"},
      {"--path", "p", "--min-size", "10KB"},
      {"--path", "p", "--max-size", "-5"},
      {"--path", "p", "--newer", "2024-02-30"},
      {"--path", "p", "--older", "3 days"},
  };
  for (const auto& arguments : refused) {
    Parsed parsed = Parse(arguments);
    std::string shown;
    for (const std::string& argument : arguments)
      shown += argument + ' ';
    EXPECT_EQ(parsed.outcome, CliParse::Refused) << shown;
    EXPECT_FALSE(parsed.text.empty()) << shown;
  }
  EXPECT_NE(Parse({"--path", "p", "--input-cp", "12345"}).text.find("12345"), std::string::npos);
  EXPECT_NE(Parse({"--path", "p", "--find", "\xFF"}).text.find("--find"), std::string::npos);
  EXPECT_EQ(Parse({"--path", "p", "--older", "3 days"}).text.rfind("--older: Not a date: ", 0), 0u);
}

TEST(CliOptions, FilterOptionsReachTheFieldsAndSettings) {
  Parsed off = Parse({"--path", "p"});
  EXPECT_EQ(off.options.fields.exclusions, u"");
  ProgramSettings settings;
  ApplyCliSettings(off.options.settings, settings);
  EXPECT_EQ(settings.skipBinaryFiles, 1);
  EXPECT_EQ(settings.useByteOrderMarks, 1);

  Parsed on = Parse({"--path", "p", "--exclude", "a, b\\", "--exclude-preset", "--exclude", "*.js",
                     "--binary", "search", "--bom", "ignore", "--min-size", "1k", "--max-size",
                     "2G", "--newer", "7d", "--older", "2024-05-31"});
  ASSERT_EQ(on.outcome, CliParse::Run) << on.text;
  EXPECT_EQ(on.options.fields.exclusions,
            u"a, b\\,*.js," + platform::LoadText(IDS_EXCLUDE_PRESET));
  ApplyCliSettings(on.options.settings, settings);
  EXPECT_EQ(settings.skipBinaryFiles, 0);
  EXPECT_EQ(settings.useByteOrderMarks, 0);
  EXPECT_EQ(settings.minFileSize, u"1k");
  EXPECT_EQ(settings.maxFileSize, u"2G");
  EXPECT_EQ(settings.modifiedAfter, u"7d");
  EXPECT_EQ(settings.modifiedBefore, u"2024-05-31");
}

TEST(CliOptions, HelpAndVersionEndWithoutARun) {
  Parsed help = Parse({"--help"});
  EXPECT_EQ(help.outcome, CliParse::Exit);
  for (const char* option : {"--path", "--find-file", "--action", "--newline", "--json"})
    EXPECT_NE(help.text.find(option), std::string::npos) << option;
  Parsed version = Parse({"--version"});
  EXPECT_EQ(version.outcome, CliParse::Exit);
  EXPECT_EQ(version.text.rfind("voxalon-cli ", 0), 0u);
}

}  // namespace
