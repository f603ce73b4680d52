#include "processing/error_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/string_table.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"

namespace fs = std::filesystem;

namespace {

CalendarTime At(int day, int month, int year, int hour, int minute, int second) {
  CalendarTime time;
  time.day = static_cast<std::uint16_t>(day);
  time.month = static_cast<std::uint16_t>(month);
  time.year = static_cast<std::uint16_t>(year);
  time.hour = static_cast<std::uint16_t>(hour);
  time.minute = static_cast<std::uint16_t>(minute);
  time.second = static_cast<std::uint16_t>(second);
  return time;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file's units after its byte order mark, which must be there.
std::u16string Units(const fs::path& path) {
  const std::string bytes = Bytes(path);
  EXPECT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "UTF-16LE byte order mark";
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  return units;
}

struct ErrorLogFile : testing::Test {
  ErrorLogFile() : log([] { return At(7, 3, 2025, 9, 5, 2); }) {}

  // The folder below the tree's root; an empty one is the root itself.
  void Init(bool enabled, std::u16string_view folder, std::int32_t type = kLogText) {
    settings.saveErrorLog = enabled ? 1 : 0;
    settings.logDirectory = tree.Path(folder);
    settings.logType = type;
    log.InitErrorLog(settings);
  }

  fs::path File(std::u16string_view folder, const char* name = "VOXALog.txt") const {
    return tree.FsPath(folder) / name;
  }

  TempTree tree;
  ProgramSettings settings;
  ErrorLog log;
};

}  // namespace

TEST(ErrorLogEntry, TimeStampWithoutLeadingZerosThenTheMessage) {
  const CalendarTime time = At(7, 3, 2025, 9, 5, 2);
  EXPECT_EQ(ErrorLogEntry(time, u"failed", kLogText), u"7/3/2025 9:5:2: failed\n");
  EXPECT_EQ(ErrorLogEntry(time, u"failed", kLogHtml), u"7/3/2025 9:5:2: failed<br/>");
  EXPECT_EQ(ErrorLogEntry(At(31, 12, 1999, 23, 59, 58), u"x", kLogText),
            u"31/12/1999 23:59:58: x\n");
}

TEST(ErrorLogEntry, LoneSurrogatesShowAsReplacement) {
  // A name's byte that is not UTF-8 would leave the UTF-16 file ill-formed.
  const std::u16string message{u'(', char16_t(0xDCE9), char16_t(0xD800), u')'};
  EXPECT_EQ(ErrorLogEntry(At(1, 1, 2024, 0, 0, 0), message, kLogText),
            u"1/1/2024 0:0:0: (\uFFFD\uFFFD)\n");
}

TEST(ErrorLogEntry, TextEntriesEndWithOneLineBreakAndHtmlIsNotEscaped) {
  const CalendarTime time = At(1, 1, 2024, 0, 0, 0);
  EXPECT_EQ(ErrorLogEntry(time, u"Access is denied.\r\n", kLogText),
            u"1/1/2024 0:0:0: Access is denied.\r\n");
  EXPECT_EQ(ErrorLogEntry(time, u"a\n", kLogText), u"1/1/2024 0:0:0: a\n");
  EXPECT_EQ(ErrorLogEntry(time, u"<b>&\n", kLogHtml), u"1/1/2024 0:0:0: <b>&\n<br/>");
}

TEST(ErrorLogName, BaseNameWithTheTypesExtension) {
  EXPECT_EQ(ErrorLogFileName(kLogText), u"VOXALog.txt");
  EXPECT_EQ(ErrorLogFileName(kLogHtml), u"VOXALog.html");
}

TEST_F(ErrorLogFile, InitCreatesTheFileWithItsByteOrderMarkOnce) {
  tree.MakeFolder(u"logs");
  Init(true, u"logs");
  EXPECT_EQ(log.logPath(), tree.Path(u"logs/VOXALog.txt"));
  EXPECT_EQ(Bytes(File(u"logs")), "\xFF\xFE");
  log.WriteErrorLog(u"one");
  Init(true, u"logs");
  log.WriteErrorLog(u"two\r\n");
  // Every LF goes out as CR LF, also the one after a CR.
  EXPECT_EQ(Units(File(u"logs")), u"7/3/2025 9:5:2: one\r\n7/3/2025 9:5:2: two\r\r\n");
}

TEST_F(ErrorLogFile, HtmlEntriesRunOnWithLineBreakElements) {
  tree.MakeFolder(u"html");
  Init(true, u"html", kLogHtml);
  log.WriteErrorLog(u"a");
  log.WriteErrorLog(u"b");
  EXPECT_EQ(Units(File(u"html", "VOXALog.html")), u"7/3/2025 9:5:2: a<br/>7/3/2025 9:5:2: b<br/>");
}

TEST_F(ErrorLogFile, WithTheLogOffNothingIsWritten) {
  Init(false, u"");
  log.WriteErrorLog(u"lost");
  EXPECT_FALSE(log.logEnabled());
  EXPECT_EQ(log.logPath(), tree.Path(u"VOXALog.txt"));
  EXPECT_TRUE(fs::is_empty(tree.FsPath(u"")));
}

TEST_F(ErrorLogFile, WithoutAFolderThereIsNoFileToWriteOrMove) {
  settings.saveErrorLog = 1;
  log.InitErrorLog(settings);
  log.WriteErrorLog(u"nowhere");
  EXPECT_TRUE(log.logPath().empty());
  Init(true, u"");
  EXPECT_EQ(Bytes(File(u"")), "\xFF\xFE");
}

TEST_F(ErrorLogFile, SwitchingTextToHtmlRenamesTheFileWithItsEntries) {
  Init(true, u"");
  log.WriteErrorLog(u"before");
  Init(true, u"", kLogHtml);
  log.WriteErrorLog(u"after");
  EXPECT_FALSE(fs::exists(File(u"")));
  EXPECT_EQ(Units(File(u"", "VOXALog.html")),
            u"7/3/2025 9:5:2: before\r\n7/3/2025 9:5:2: after<br/>");
}

TEST_F(ErrorLogFile, SwitchingTheFolderTakesTheLogAlong) {
  tree.MakeFolder(u"old");
  tree.MakeFolder(u"new");
  Init(true, u"old");
  log.WriteErrorLog(u"first");
  Init(true, u"new");
  log.WriteErrorLog(u"second");
  EXPECT_FALSE(fs::exists(File(u"old")));
  EXPECT_EQ(Units(File(u"new")), u"7/3/2025 9:5:2: first\r\n7/3/2025 9:5:2: second\r\n");
}

TEST_F(ErrorLogFile, ALogAlreadyInTheNewFolderIsKeptAndTheOldOneStays) {
  tree.MakeFolder(u"old");
  tree.MakeFolder(u"new");
  ErrorLog other([] { return At(1, 2, 2003, 4, 5, 6); });
  settings.saveErrorLog = 1;
  settings.logDirectory = tree.Path(u"new");
  other.InitErrorLog(settings);
  other.WriteErrorLog(u"theirs");

  Init(true, u"old");
  log.WriteErrorLog(u"mine");
  Init(true, u"new");
  log.WriteErrorLog(u"next");
  EXPECT_EQ(Units(File(u"old")), u"7/3/2025 9:5:2: mine\r\n");
  EXPECT_EQ(Units(File(u"new")), u"1/2/2003 4:5:6: theirs\r\n7/3/2025 9:5:2: next\r\n");
}

TEST_F(ErrorLogFile, WithTheLogOffAChangeStillMovesTheFile) {
  tree.MakeFolder(u"old");
  tree.MakeFolder(u"new");
  Init(true, u"old");
  log.WriteErrorLog(u"kept");
  Init(false, u"new", kLogHtml);
  log.WriteErrorLog(u"dropped");
  EXPECT_FALSE(fs::exists(File(u"old")));
  EXPECT_EQ(Units(File(u"new", "VOXALog.html")), u"7/3/2025 9:5:2: kept\r\n");
}

TEST_F(ErrorLogFile, AMissingFolderIsSilent) {
  Init(true, u"gone");
  log.WriteErrorLog(u"nowhere");
  EXPECT_FALSE(fs::exists(tree.FsPath(u"gone")));
}

TEST_F(ErrorLogFile, ARenameRunLogsAReadOnlyFileWithItsPath) {
  tree.MakeFolder(u"files");
  tree.MakeFile(u"files/locked.txt");
  fs::permissions(tree.FsPath(u"files/locked.txt"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  RunHarness run;
  RunFields fields = FieldsFor(tree.Path(u"files"), u"*.txt");
  fields.renameMode = true;
  ASSERT_TRUE(run.Run(fields));
  tree.MakeFolder(u"logs");
  Init(true, u"logs");
  for (const std::u16string& message : run.view.errorLog)
    log.WriteErrorLog(message);
  EXPECT_EQ(Units(File(u"logs")), u"7/3/2025 9:5:2:  (\"" + tree.Path(u"files/locked.txt") +
                                      u"\"): " + platform::LoadText(IDS_FILE_READ_ONLY) + u"\r\n");
}

TEST(ErrorLogClock, StampsTheCurrentUtcTime) {
  TempTree tree;
  ProgramSettings settings;
  settings.saveErrorLog = 1;
  settings.logDirectory = tree.root();
  ErrorLog log;
  log.InitErrorLog(settings);
  log.WriteErrorLog(u"now");
  const std::string bytes = Bytes(fs::path(log.logPath()));
  // "d/m/yyyy h:m:s: now" with the current year.
  const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const int year = static_cast<int>(std::chrono::year_month_day(today).year());
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])));
  std::u16string yearText;
  for (char c : std::to_string(year))
    yearText.push_back(static_cast<char16_t>(c));
  EXPECT_NE(units.find(u"/" + yearText + u" "), std::u16string::npos);
  EXPECT_TRUE(units.ends_with(u": now\r\n"));
}
