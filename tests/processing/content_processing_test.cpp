#include "processing/content_processing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_fault.h"
#include "platform/string_table.h"
#include "processing/binary_content.h"
#include "processing/change_lines.h"
#include "run/file_processors.h"
#include "run/search_worker.h"
#include "tests/support/recording_channel.h"
#include "tests/support/temp_tree.h"
#include "text/regex/regex_compiler.h"
#include "text/text_format.h"
#include "text/utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using Position = CFileResult::replace_info;
using PairList = std::vector<std::pair<std::int64_t, std::int64_t>>;

// A 2001 time, and one a day later.
constexpr platform::FileTime kOldTime = 126254952001234560ull;
constexpr platform::FileTime kDay = 864000000000ull;

class ContentProcessing : public ::testing::Test {
 protected:
  ContentProcessing() {
    parameters.targetWindow = &window;
    parameters.confirmReplace = true;
    parameters.caseSensitive = true;
    worker.parameters = &parameters;
  }
  ~ContentProcessing() override { platform::DisarmFileFaults(); }

  void Set(ActionType action, std::u16string find, std::u16string replace = u"") {
    parameters.action = action;
    parameters.findText = std::move(find);
    parameters.replaceText = std::move(replace);
  }

  // Processes one file of the tree's root and returns its single report.
  const ResultMessage& Process(std::u16string_view name, std::uint64_t listedSize = 0) {
    auto entry = std::make_unique<CFileResult>();
    entry->folder = tree.root();
    entry->name = std::u16string(name);
    entry->size = listedSize;
    const size_t before = window.results.size();
    ProcessFileContent(worker, std::move(entry));
    EXPECT_EQ(window.results.size(), before + 1) << "exactly one report per file";
    return window.results.back();
  }

  std::string Content(std::u16string_view name) const {
    std::ifstream in(tree.FsPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  platform::FileTimes Times(std::u16string_view name) const {
    platform::File file;
    platform::ErrorCode error = 0;
    platform::FileTimes times;
    EXPECT_TRUE(
        file.Open(tree.Path(name), platform::FileAccess::Read, platform::FileShare::Read, error));
    EXPECT_TRUE(file.GetTimes(times, error));
    return times;
  }

  // Gives the file old times (creation where the platform can set it).
  void MakeOld(std::u16string_view name) const {
    platform::File file;
    platform::ErrorCode error = 0;
    ASSERT_TRUE(file.Open(tree.Path(name), platform::FileAccess::ReadWrite,
                          platform::FileShare::Read, error));
    platform::FileTimes times;
    times.creation = kOldTime;
    times.lastAccess = kOldTime + kDay;
    times.lastWrite = kOldTime + 2 * kDay;
    times.hasCreation = true;
    ASSERT_TRUE(file.SetTimes(times, error));
  }

  void MakeReadOnly(std::u16string_view name) const {
#ifdef _WIN32
    SetFileAttributesW(tree.FsPath(name).c_str(), FILE_ATTRIBUTE_READONLY);
#else
    fs::permissions(tree.FsPath(name),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#endif
  }

  bool IsReadOnly(std::u16string_view name) const {
    platform::FileAttributes attributes;
    platform::ErrorCode error = 0;
    EXPECT_TRUE(platform::ReadFileAttributes(tree.Path(name), attributes, error));
    return attributes.readOnly;
  }

  static std::u16string Found(std::int64_t count) {
    return FormatString(IDS_MATCHES_FOUND, {count});
  }

  static PairList Pairs(const ResultMessage& message) {
    PairList pairs;
    for (const Position& position : message.file->matches)
      pairs.emplace_back(position.line, position.character);
    return pairs;
  }

  TempTree tree;
  RecordingChannel window;
  RunParameters parameters;
  SearchWorker worker;
};

TEST_F(ContentProcessing, ReplacesEveryMatchAndReportsTheCount) {
  tree.MakeFile(u"a.txt", "aaa");
  Set(ActionType::Replace, u"a", u"b");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(result.status, ResultStatus::FileResult);
  EXPECT_EQ(result.file->resultText, Found(3));
  EXPECT_EQ(Content(u"a.txt"), "bbb");
  EXPECT_EQ(window.asked.size(), 3u);

  Set(ActionType::Delete, u"b");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(3));
  EXPECT_EQ(Content(u"a.txt"), "");
}

TEST_F(ContentProcessing, WithoutConfirmReplaceNothingIsAsked) {
  tree.MakeFile(u"a.txt", "ab\r\ncab");
  parameters.confirmReplace = false;
  Set(ActionType::Replace, u"ab", u"X");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(Pairs(result), (PairList{{0, 0}, {1, 1}}));
  EXPECT_TRUE(window.asked.empty());
  EXPECT_EQ(parameters.confirmState, ConfirmAnswer::YesToAll);
  EXPECT_EQ(Content(u"a.txt"), "X\r\ncX");
}

TEST_F(ContentProcessing, EmptyFindTextFindOnlyNeverOpensTheFile) {
  parameters.settings.searchHidden = 0;
  Set(ActionType::FindOnly, u"");
  for (std::u16string_view name : {u"missing.txt", u".hidden"}) {
    const ResultMessage& result = Process(name);
    EXPECT_EQ(result.status, ResultStatus::FileResult);
    EXPECT_EQ(Pairs(result), (PairList{{0, 0}}));
    EXPECT_EQ(result.file->resultText, Found(1));
  }
}

TEST_F(ContentProcessing, EmptyFindTextActsOnTheWholeContentAfterOneQuestion) {
  struct Case {
    ActionType action;
    const char* expected;
  };
  for (const Case& c : {Case{ActionType::Replace, "new"}, Case{ActionType::PlaceBefore, "new"},
                        Case{ActionType::Delete, ""}, Case{ActionType::AddToEnd, "old\nnew"},
                        Case{ActionType::AddToBeginning, "newold\n"}}) {
    tree.MakeFile(u"a.txt", "old\n");
    Set(c.action, u"", u"new");
    window.asked.clear();
    const ResultMessage& result = Process(u"a.txt");
    EXPECT_EQ(Content(u"a.txt"), c.expected) << static_cast<int>(c.action);
    EXPECT_EQ(Pairs(result), (PairList{{0, 0}}));
    EXPECT_EQ(window.AskedPairs(), (PairList{{0, 0}}));
  }
  tree.MakeFile(u"a.txt", "old\n");
  window.answers = {ConfirmAnswer::No};
  Set(ActionType::Replace, u"", u"new");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(0));
  EXPECT_EQ(Content(u"a.txt"), "old\n");
}

TEST_F(ContentProcessing, DeclinedMatchLetsTheOverlappingOneBeAsked) {
  tree.MakeFile(u"a.txt", "aaaa");
  window.answers = {ConfirmAnswer::No, ConfirmAnswer::Yes};
  Set(ActionType::Replace, u"aa", u"X");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(window.AskedPairs(), (PairList{{0, 0}, {0, 1}}));
  EXPECT_EQ(Pairs(result), (PairList{{0, 1}}));
  EXPECT_EQ(Content(u"a.txt"), "aXa");
}

TEST_F(ContentProcessing, FindTextEndingInALineBreakMatchesEveryKind) {
  tree.MakeFile(u"a.txt", "a\r\nb a\nb a\rb");
  Set(ActionType::Replace, u"a\n", u"-");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(3));
  EXPECT_EQ(Content(u"a.txt"), "-b -b -b");
}

TEST_F(ContentProcessing, ReplacementLineBreaksFollowTheNewLineMode) {
  struct Case {
    std::int32_t mode;
    const char* file;
    const char* expected;
  };
  for (const Case& c :
       {Case{3, "x\ny", "1\n2\ny"}, Case{3, "x\n\ny", "1\r\n2\n\ny"}, Case{3, "x y", "1\r\n2 y"},
        Case{3, "x\ry", "1\r2\ry"}, Case{1, "x\ny", "1\r\n2\ny"}, Case{2, "x\r\ny", "1\n2\r\ny"},
        Case{4, "x\ny", "1\r2\ny"}}) {
    tree.MakeFile(u"a.txt", c.file);
    parameters.settings.newLineMode = c.mode;
    Set(ActionType::Replace, u"x", u"1\r\n2");
    Process(u"a.txt");
    EXPECT_EQ(Content(u"a.txt"), c.expected) << c.mode << " " << c.file;
  }
  EXPECT_EQ(parameters.replaceText, u"1\r\n2") << "the run's own text is never changed";
}

TEST_F(ContentProcessing, CaseInsensitiveSearchLowerCasesBothSides) {
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 65001;
  tree.MakeFile(u"a.txt", "caf\xc3\xa9");
  Set(ActionType::Replace, u"\u00c9", u"E");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(0));
  parameters.caseSensitive = false;
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1));
  EXPECT_EQ(Content(u"a.txt"), "cafE");
}

TEST_F(ContentProcessing, AddToBeginningGoesBeforeTheByteOrderMark) {
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = -1;
  parameters.settings.useByteOrderMarks = 0;
  tree.MakeFile(u"a.txt", std::string("\xff\xfe"
                                      "a\0b\0a\0a\0",
                                      10));
  Set(ActionType::AddToBeginning, u"a", u">");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(Pairs(result), (PairList{{0, 1}}));
  EXPECT_EQ(Content(u"a.txt"), std::string(">\0\xff\xfe"
                                           "a\0b\0a\0a\0",
                                           12));
}

TEST_F(ContentProcessing, ReadOnlyFilesAreSkippedUnlessAllowedAndKeepTheirAttribute) {
  tree.MakeFile(u"a.txt", "abc");
  MakeReadOnly(u"a.txt");
  Set(ActionType::Replace, u"b", u"X");
  const ResultMessage& skipped = Process(u"a.txt");
  EXPECT_EQ(skipped.status, ResultStatus::FileResult);
  EXPECT_EQ(skipped.file->resultText, platform::LoadText(IDS_FILE_READ_ONLY));
  EXPECT_EQ(Content(u"a.txt"), "abc");

  Set(ActionType::FindOnly, u"b");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1)) << "Find only reads read-only files";
  EXPECT_TRUE(IsReadOnly(u"a.txt"));

  parameters.settings.replaceReadOnly = 1;
  parameters.settings.keepFileDate = 1;
  MakeOld(u"a.txt");
  const platform::FileTimes before = Times(u"a.txt");
  Set(ActionType::Replace, u"b", u"X");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1));
  const platform::FileTimes after = Times(u"a.txt");  // before reading the content again
  EXPECT_EQ(Content(u"a.txt"), "aXc");
  EXPECT_TRUE(IsReadOnly(u"a.txt"));
  EXPECT_EQ(after.lastWrite, before.lastWrite);
  EXPECT_EQ(after.lastAccess, before.lastAccess);
#ifdef _WIN32
  EXPECT_EQ(after.creation, before.creation);
#endif
}

TEST_F(ContentProcessing, HiddenFilesAreSkippedWhenNotSearched) {
#ifdef _WIN32
  tree.MakeFile(u"h.txt", "abc");
  SetFileAttributesW(tree.FsPath(u"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::u16string name = u"h.txt";
#else
  tree.MakeFile(u".h.txt", "abc");
  const std::u16string name = u".h.txt";
#endif
  parameters.settings.searchHidden = 0;
  Set(ActionType::FindOnly, u"b");
  EXPECT_EQ(Process(name).file->resultText, platform::LoadText(IDS_FILE_HIDDEN));
  parameters.settings.searchHidden = 1;
  EXPECT_EQ(Process(name).file->resultText, Found(1));
}

// Reading an online-only cloud file downloads it, so even Find only leaves it unless allowed.
TEST(AttributeSkipText, OnlineOnlyFilesAreLeftAloneUnlessAllowed) {
  struct Case {
    platform::FileAttributes attributes;
    std::int32_t searchOnlineOnly;
    ActionType action;
    unsigned expected;
  };
  const platform::FileAttributes online{.onlineOnly = true};
  const Case cases[] = {
      {online, 0, ActionType::FindOnly, IDS_FILE_ONLINE_ONLY},
      {online, 0, ActionType::Replace, IDS_FILE_ONLINE_ONLY},
      {online, 1, ActionType::FindOnly, 0},
      {{.readOnly = true, .onlineOnly = true}, 0, ActionType::Replace, IDS_FILE_READ_ONLY},
      {{.readOnly = true, .onlineOnly = true}, 1, ActionType::FindOnly, 0},
      {{.hidden = true, .onlineOnly = true}, 0, ActionType::FindOnly, IDS_FILE_HIDDEN},
      {{}, 0, ActionType::Replace, 0},
  };
  ProgramSettings settings;
  settings.searchHidden = 0;
  for (const Case& c : cases) {
    settings.searchOnlineOnly = c.searchOnlineOnly;
    EXPECT_EQ(AttributeSkipText(c.attributes, settings, c.action), c.expected)
        << static_cast<int>(c.action) << " allowed " << c.searchOnlineOnly;
  }
}

#ifdef _WIN32
// Offline storage marks a file as Windows marks an online-only cloud file, which only real
// Windows has: reading either fetches the data.
TEST_F(ContentProcessing, OfflineFilesAreLeftUnread) {
  tree.MakeFile(u"o.txt", "abc");
  if (!SetFileAttributesW(tree.FsPath(u"o.txt").c_str(), FILE_ATTRIBUTE_OFFLINE) ||
      !(GetFileAttributesW(tree.FsPath(u"o.txt").c_str()) & FILE_ATTRIBUTE_OFFLINE))
    GTEST_SKIP() << "the offline attribute is not kept here";
  Set(ActionType::FindOnly, u"b");
  EXPECT_EQ(Process(u"o.txt").file->resultText, platform::LoadText(IDS_FILE_ONLINE_ONLY));
}
#endif

TEST_F(ContentProcessing, FileWithoutAnAcceptedChangeIsNeverWritten) {
  tree.MakeFile(u"a.txt", "abc");
  MakeOld(u"a.txt");
  const platform::FileTimes before = Times(u"a.txt");
  Set(ActionType::Replace, u"zz", u"X");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(0));
  window.answers = {ConfirmAnswer::NoToAll};
  Set(ActionType::Replace, u"b", u"X");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(0));
  EXPECT_EQ(Content(u"a.txt"), "abc");
  EXPECT_EQ(Times(u"a.txt").lastWrite, before.lastWrite);
}

TEST_F(ContentProcessing, FileThatCannotBeOpenedFailsAndKeepsItsAttributes) {
  Set(ActionType::Replace, u"b", u"X");
  const ResultMessage& missing = Process(u"missing.txt");
  EXPECT_EQ(missing.status, ResultStatus::FileError);
  EXPECT_FALSE(missing.file->resultText.empty());
#ifdef _WIN32
  tree.MakeFile(u"a.txt", "abc");
  MakeReadOnly(u"a.txt");
  parameters.settings.replaceReadOnly = 1;
  platform::File holder;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(holder.Open(tree.Path(u"a.txt"), platform::FileAccess::Read,
                          platform::FileShare::None, error));
  const ResultMessage& locked = Process(u"a.txt");
  EXPECT_EQ(locked.status, ResultStatus::FileError);
  std::u16string sharing;
  FormatSystemError(ERROR_SHARING_VIOLATION, sharing);
  EXPECT_EQ(locked.file->resultText, sharing);
  holder.Close();
  EXPECT_TRUE(IsReadOnly(u"a.txt"));
  EXPECT_EQ(Content(u"a.txt"), "abc");
#endif
}

#ifndef _WIN32
// The change time is out of the standard library's reach on Windows; there the attribute
// decision is checked as logic (WindowsAttributeBits).
TEST_F(ContentProcessing, FindOnlyLeavesTheChangeTimeAlone) {
  tree.MakeFile(u"a.txt", "abc");
  MakeReadOnly(u"a.txt");
  struct stat before {};
  ASSERT_EQ(stat(tree.FsPath(u"a.txt").c_str(), &before), 0);
  // Longer than a tick of the clock that stamps the change time.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Set(ActionType::FindOnly, u"b");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1));
  struct stat after {};
  ASSERT_EQ(stat(tree.FsPath(u"a.txt").c_str(), &after), 0);
  EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
  EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}
#endif

TEST_F(ContentProcessing, FindOnlyReadsAFileThatAnotherHandleWrites) {
  tree.MakeFile(u"a.txt", "abc");
  platform::File writer;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(writer.Open(tree.Path(u"a.txt"), platform::FileAccess::ReadWrite,
                          platform::FileShare::All, error));
  Set(ActionType::FindOnly, u"b");
  const ResultMessage& found = Process(u"a.txt");
  EXPECT_EQ(found.status, ResultStatus::FileResult);
  EXPECT_EQ(found.file->resultText, Found(1));
#ifdef _WIN32
  Set(ActionType::Replace, u"b", u"X");
  const ResultMessage& refused = Process(u"a.txt");
  std::u16string sharing;
  FormatSystemError(ERROR_SHARING_VIOLATION, sharing);
  EXPECT_EQ(refused.file->resultText, sharing) << "never written under another writer";
  EXPECT_EQ(Content(u"a.txt"), "abc");
#endif
}

TEST_F(ContentProcessing, FileIsReadWholeWhateverSizeTheWalkListed) {
  tree.MakeFile(u"a.txt", "x.x.x.x.x");
  Set(ActionType::Replace, u"x", u"y");
  EXPECT_EQ(Process(u"a.txt", 3).file->resultText, Found(5));
  EXPECT_EQ(Content(u"a.txt"), "y.y.y.y.y");
}

TEST_F(ContentProcessing, OddLastByteOfUtf16IsKeptWhenWrittenInTheSameCodePage) {
  for (CodePage codePage : {-1, -2}) {
    const std::string a = codePage == -1 ? std::string("a\0", 2) : std::string("\0a", 2);
    const std::string b = codePage == -1 ? std::string("b\0", 2) : std::string("\0b", 2);
    tree.MakeFile(u"a.txt", a + a + "!");
    parameters.settings.inputCodePage = parameters.settings.outputCodePage = codePage;
    Set(ActionType::Replace, u"a", u"b");
    EXPECT_EQ(Process(u"a.txt").file->resultText, Found(2));
    EXPECT_EQ(Content(u"a.txt"), b + b + "!") << codePage;
  }
  tree.MakeFile(u"a.txt", std::string("a\0a\0!", 5));
  parameters.settings.inputCodePage = -1;
  parameters.settings.outputCodePage = 1252;
  Process(u"a.txt");
  EXPECT_EQ(Content(u"a.txt"), "bb");
}

TEST_F(ContentProcessing, ChangedFileIsWrittenInTheOutputCodePage) {
  tree.MakeFile(u"a.txt", "\xe9 x");
  parameters.settings.inputCodePage = 1252;
  parameters.settings.outputCodePage = 65001;
  Set(ActionType::Replace, u"x", u"y");
  Process(u"a.txt");
  EXPECT_EQ(Content(u"a.txt"), "\xc3\xa9 y");

  tree.MakeFile(u"a.txt", "\xe9 x");
  parameters.settings.outputCodePage = -1;
  Process(u"a.txt");
  EXPECT_EQ(Content(u"a.txt"), std::string("\xe9\0 \0y\0", 6));
}

TEST_F(ContentProcessing, UnrepresentableCharacterIsWrittenAsTheDefaultOne) {
  tree.MakeFile(u"a.txt", std::string("\x00\x4e"
                                      "x\0",
                                      4));
  parameters.settings.inputCodePage = -1;
  parameters.settings.outputCodePage = 1252;
  Set(ActionType::Replace, u"x", u"y");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(result.status, ResultStatus::FileResult);
  const std::string content = Content(u"a.txt");
  ASSERT_EQ(content.size(), 2u);
  EXPECT_EQ(content[1], 'y');
}

TEST_F(ContentProcessing, InvalidInputBytesKeepAChangedFileUnwritten) {
  // A Latin-1 e-acute read as UTF-8.
  tree.MakeFile(u"a.txt", "caf\xe9 x");
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 65001;
  Set(ActionType::Replace, u"x", u"y");
  const ResultMessage& refused = Process(u"a.txt");
  EXPECT_EQ(refused.status, ResultStatus::FileError);
  EXPECT_EQ(refused.file->resultText, platform::LoadText(IDS_INVALID_INPUT_BYTES));
  EXPECT_EQ(Content(u"a.txt"), "caf\xe9 x");

  Set(ActionType::FindOnly, u"x");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1));
  Set(ActionType::Replace, u"zz", u"y");
  EXPECT_EQ(Process(u"a.txt").status, ResultStatus::FileResult);

  tree.MakeFile(u"b.txt", "caf\xc3\xa9 x");
  Set(ActionType::Replace, u"x", u"y");
  EXPECT_EQ(Process(u"b.txt").status, ResultStatus::FileResult);
  EXPECT_EQ(Content(u"b.txt"), "caf\xc3\xa9 y");
}

// Only bytes that fail to decode hold a change back, and not when the old text goes as a whole.
TEST_F(ContentProcessing, DecodingGuardRefusesOnlyWhatWouldBeLost) {
  struct Case {
    CodePage input;
    CodePage output;
    const char* content;
    ActionType action;
    const char16_t* find;
    const char* expected;  // null: refused, the file unchanged
  };
  // Code page 932 reads ED 40 as U+7E8A, which it writes as FA 5C.
  for (const Case& c : {
           Case{932, 65001, "x \xED\x40", ActionType::Replace, u"x", "y \xE7\xBA\x8A"},
           Case{932, 932, "x \xED\x40", ActionType::Replace, u"x", "y \xFA\x5C"},
           Case{932, 932, "x \x81", ActionType::Replace, u"x", nullptr},
           Case{65001, 65001, "caf\xE9 x", ActionType::Replace, u"", "new"},
           Case{65001, 65001, "caf\xE9 x", ActionType::PlaceAfter, u"", "new"},
           Case{65001, 65001, "caf\xE9 x", ActionType::Delete, u"", ""},
           Case{65001, 65001, "caf\xE9 x", ActionType::AddToEnd, u"", nullptr},
       }) {
    tree.MakeFile(u"a.txt", c.content);
    parameters.settings.inputCodePage = c.input;
    parameters.settings.outputCodePage = c.output;
    Set(c.action, c.find, *c.find ? u"y" : u"new");
    const ResultMessage& result = Process(u"a.txt");
    EXPECT_EQ(Content(u"a.txt"), c.expected ? c.expected : c.content) << c.content;
    if (c.expected)
      EXPECT_EQ(result.file->resultText, Found(1)) << c.content;
    else
      EXPECT_EQ(result.file->resultText, platform::LoadText(IDS_INVALID_INPUT_BYTES)) << c.content;
  }
}

// Windows cannot check UTF-7 for invalid bytes; there the text must encode back to the same
// bytes ("+AGE-" is an "a" that is written plainly).
TEST_F(ContentProcessing, CodePageThatCannotBeCheckedNeedsARoundTrip) {
  tree.MakeFile(u"a.txt", "x +AGE-");
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 65000;
  Set(ActionType::Replace, u"x", u"y");
  const ResultMessage& result = Process(u"a.txt");
#ifdef _WIN32
  EXPECT_EQ(result.file->resultText, platform::LoadText(IDS_NO_ROUND_TRIP));
  EXPECT_EQ(Content(u"a.txt"), "x +AGE-");
#else
  EXPECT_EQ(result.file->resultText, Found(1));
  EXPECT_EQ(Content(u"a.txt"), "y a");
#endif
}

TEST_F(ContentProcessing, UnsupportedCodePageFailsEveryNonEmptyFile) {
  tree.MakeFile(u"a.txt", "abc");
  tree.MakeFile(u"empty.txt", "");
  parameters.settings.inputCodePage = 12000;
  Set(ActionType::Replace, u"b", u"X");
  EXPECT_EQ(Process(u"a.txt").status, ResultStatus::FileError);
  EXPECT_EQ(Content(u"a.txt"), "abc");
  EXPECT_EQ(Process(u"empty.txt").file->resultText, Found(0));
}

TEST_F(ContentProcessing, FailedWriteLeavesTheFileAsItWas) {
  const std::string original = "one two three two one";
  struct Case {
    platform::FileOperation operation;
    const char16_t* replace;  // shorter and longer than the match
  };
  for (const Case& c : {Case{platform::FileOperation::Write, u"2"},
                        Case{platform::FileOperation::Write, u"twenty-two"},
                        Case{platform::FileOperation::SetLength, u"2"},
                        Case{platform::FileOperation::Flush, u"twenty-two"}}) {
    tree.MakeFile(u"a.txt", original);
    MakeOld(u"a.txt");
    const platform::FileTimes before = Times(u"a.txt");
    platform::FileFault fault;
    fault.operation = c.operation;
    fault.bytesBefore = 5;
    fault.error = platform::kErrorOutOfMemory;
    platform::ArmFileFault(fault);
    parameters.settings.keepFileDate = 1;
    Set(ActionType::Replace, u"two", c.replace);
    const ResultMessage& result = Process(u"a.txt");
    EXPECT_EQ(result.status, ResultStatus::FileError);
    std::u16string expected;
    FormatSystemError(platform::kErrorOutOfMemory, expected);
    EXPECT_EQ(result.file->resultText, expected);
    EXPECT_EQ(Content(u"a.txt"), original) << static_cast<int>(c.operation);
    EXPECT_EQ(Times(u"a.txt").lastWrite, before.lastWrite);
  }
}

TEST_F(ContentProcessing, FailedReadLeavesTheFileUntouched) {
  tree.MakeFile(u"a.txt", "abc");
  platform::FileFault fault;
  fault.operation = platform::FileOperation::Read;
  fault.bytesBefore = 1;
  fault.error = platform::kErrorCancelled;
  platform::ArmFileFault(fault);
  Set(ActionType::Replace, u"b", u"X");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(result.status, ResultStatus::FileError);
  EXPECT_TRUE(result.file->matches.empty());
  EXPECT_EQ(Content(u"a.txt"), "abc");
}

TEST_F(ContentProcessing, VariablesExpandForEachFileInPlainRuns) {
  tree.MakeFile(u"a.txt", "see a.txt");
  parameters.useVariables = true;
  Set(ActionType::Replace, u"%FileName%", u"[%filename%]");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1));
  EXPECT_EQ(Content(u"a.txt"), "see [a.txt]");
  EXPECT_EQ(parameters.findText, u"%FileName%");
}

TEST_F(ContentProcessing, FindTextExpandingToNothingFindsNothing) {
  tree.MakeFile(u"a.txt", "abc");
  parameters.useVariables = true;
  Set(ActionType::Replace, u"%filename", u"X");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(0));
  EXPECT_EQ(Content(u"a.txt"), "abc");
}

TEST_F(ContentProcessing, BrokenReplacementVariableFailsTheFileUnchanged) {
  tree.MakeFile(u"a.txt", "abc");
  parameters.useVariables = true;
  Set(ActionType::Replace, u"b", u"100%");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(result.status, ResultStatus::FileError);
  EXPECT_EQ(result.file->resultText,
            FormatString(IDS_VARIABLE_PARSE_ERROR,
                         {platform::LoadText(IDS_VARIABLE_UNEXPECTED_PERCENT)}));
  EXPECT_EQ(Content(u"a.txt"), "abc");
}

TEST_F(ContentProcessing, ReplacementVariablesAreLeftAloneWhereNothingUsesThem) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, std::u16string_view(u"b")), 0);
  struct Case {
    ActionType action;
    bool useRegex;
    const char* expected;
  };
  for (const Case& c :
       {Case{ActionType::FindOnly, false, "abc"}, Case{ActionType::Delete, false, "ac"},
        Case{ActionType::Replace, true, "a50%c"}}) {
    tree.MakeFile(u"a.txt", "abc");
    parameters.useVariables = true;
    parameters.useRegex = c.useRegex;
    parameters.regex = c.useRegex ? &program : nullptr;
    Set(c.action, u"b", u"50%");
    EXPECT_EQ(Process(u"a.txt").file->resultText, Found(1)) << static_cast<int>(c.action);
    EXPECT_EQ(Content(u"a.txt"), c.expected);
  }
}

TEST_F(ContentProcessing, RegularExpressionRunTakesTheReplacementAsTyped) {
  tree.MakeFile(u"a.txt", "xaay\nab");
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, std::u16string_view(u"a+")), 0);
  parameters.useRegex = true;
  parameters.useVariables = true;
  parameters.regex = &program;
  parameters.settings.newLineMode = 1;
  Set(ActionType::Replace, u"a+", u"%filename%\n");
  EXPECT_EQ(Process(u"a.txt").file->resultText, Found(2));
  EXPECT_EQ(Content(u"a.txt"), "x%filename%\ny\n%filename%\nb");
}

// A single-byte code page is searched and changed on its bytes, UTF-8 on the decoded text: both
// give the same files and the same matches.
TEST_F(ContentProcessing, SingleByteAndDecodedProcessingAgree) {
  const std::string content = "ab\r\nab\rxab\n\nAB ab";
  for (int action = 0; action <= 6; ++action) {
    for (bool caseSensitive : {true, false}) {
      std::vector<std::string> files;
      std::vector<PairList> matches;
      for (CodePage codePage : {1252, 65001}) {
        tree.MakeFile(u"a.txt", content);
        parameters.settings.inputCodePage = parameters.settings.outputCodePage = codePage;
        parameters.caseSensitive = caseSensitive;
        window.answers = {ConfirmAnswer::Yes, ConfirmAnswer::No, ConfirmAnswer::Yes};
        Set(static_cast<ActionType>(action), u"b\na", u"<\n>");
        matches.push_back(Pairs(Process(u"a.txt")));
        files.push_back(Content(u"a.txt"));
      }
      EXPECT_EQ(files[0], files[1]) << action << caseSensitive;
      EXPECT_EQ(matches[0], matches[1]) << action << caseSensitive;
    }
  }
}

// UTF-8 that is all ASCII is searched on its bytes: it must give what the decoded route gives
// for the same text followed by a non-ASCII tail, the replacement's own UTF-8 included, and
// case-insensitive matches of characters outside ASCII (the Kelvin sign folds to 'k').
TEST_F(ContentProcessing, AsciiUtf8BytesAndDecodedTextAgree) {
  const std::string content = "Kk ab\r\nAB\nkab";
  const std::string tail = "\n\xC3\xA9";
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 65001;
  for (const auto& [action, find, replace] :
       {std::tuple{ActionType::Replace, u"ab", u"\u00e9\u20ac"},
        std::tuple{ActionType::FindOnly, u"\u212a", u""},
        std::tuple{ActionType::PlaceAfter, u"K", u"\U0001F600"}}) {
    for (bool caseSensitive : {true, false}) {
      std::vector<std::string> files;
      std::vector<PairList> matches;
      for (const std::string& end : {std::string(), tail}) {
        tree.MakeFile(u"a.txt", content + end);
        parameters.caseSensitive = caseSensitive;
        Set(action, find, replace);
        matches.push_back(Pairs(Process(u"a.txt")));
        const std::string written = Content(u"a.txt");
        files.push_back(written.substr(0, written.size() - end.size()));
      }
      EXPECT_EQ(files[0], files[1]) << static_cast<int>(action) << caseSensitive;
      EXPECT_EQ(matches[0], matches[1]) << static_cast<int>(action) << caseSensitive;
    }
  }
  tree.MakeFile(u"a.txt", content);
  parameters.caseSensitive = false;
  Set(ActionType::Replace, u"ab", u"\u00e9");
  Process(u"a.txt");
  EXPECT_EQ(Content(u"a.txt"), "Kk \xC3\xA9\r\n\xC3\xA9\nk\xC3\xA9");
}

// Stop from another thread while a long file is searched, after its first change was confirmed:
// by a regular expression that makes many short attempts, and by a plain search whose
// candidates keep failing. The search ends at once and the file is left as it was.
TEST_F(ContentProcessing, StopInsideALongFileEndsItUnchanged) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, std::u16string_view(u"([a-z]+ )+zebra")), 0);
  parameters.regex = &program;
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 1252;
  struct Case {
    bool regex;
    std::u16string find;
    std::string first;
    std::string line;
  };
  // Long enough for the search to outlast the wait in an optimised build; shorter under the
  // sanitizers, which make it many times slower.
#if defined(NDEBUG)
  const size_t megabytes = 200;
#else
  const size_t megabytes = 24;
#endif
  for (const Case& c : {Case{true, u"([a-z]+ )+zebra", "a zebra\n", "ab cd ef gh ij\n"},
                        Case{false, u"a\nb", "a\nb", "a\n"}}) {
    std::string lines;
    while (lines.size() < 65536)
      lines += c.line;
    std::string content = c.first;
    content.reserve((megabytes << 20) + lines.size());
    while (content.size() < megabytes << 20)
      content += lines;
    tree.MakeFile(u"big.txt", content);
    parameters.useRegex = c.regex;
    Set(ActionType::Replace, c.find, u"X");
    window.questions = 0;
    std::thread processing([this] {
      auto entry = std::make_unique<CFileResult>();
      entry->folder = tree.root();
      entry->name = u"big.txt";
      ProcessFileContent(worker, std::move(entry));
    });
    while (window.questions == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto stopped = std::chrono::steady_clock::now();
    worker.stopEvent.Set();
    processing.join();
    const auto took = std::chrono::steady_clock::now() - stopped;
    worker.stopEvent.Reset();
    // Far below the time the whole file takes, with room for a loaded machine.
    EXPECT_LT(took, std::chrono::milliseconds(1000)) << c.regex;
    ASSERT_FALSE(window.results.empty());
    std::u16string cancelled;
    FormatSystemError(platform::kErrorCancelled, cancelled);
    EXPECT_EQ(window.results.back().status, ResultStatus::FileError) << c.regex;
    EXPECT_EQ(window.results.back().file->resultText, cancelled) << c.regex;
    std::ifstream written(tree.FsPath(u"big.txt"), std::ios::binary);
    std::string after(content.size() + 1, '\0');
    after.resize(
        static_cast<size_t>(written.read(after.data(), std::streamsize(after.size())).gcount()));
    EXPECT_TRUE(after == content) << c.regex;
  }
}

#if !defined(_WIN32)
// Under Wine a huge allocation can succeed lazily, so this runs natively only.
TEST_F(ContentProcessing, FileTooLargeForMemoryFailsUntouched) {
  if (!tree.MakeSparseFile(u"huge.txt", std::uint64_t{1} << 43))
    GTEST_SKIP() << "no sparse files here";
  parameters.settings.skipBinaryFiles = 0;  // its zero bytes would make it binary
  Set(ActionType::Replace, u"b", u"X");
  const ResultMessage& result = Process(u"huge.txt");
  EXPECT_EQ(result.status, ResultStatus::FileError);
  std::u16string expected;
  FormatSystemError(platform::kErrorOutOfMemory, expected);
  EXPECT_EQ(result.file->resultText, expected);
  EXPECT_EQ(fs::file_size(tree.FsPath(u"huge.txt")), std::uint64_t{1} << 43);
}
#endif

TEST(BinaryContent, AZeroByteInTheFirst8KiBUnlessUnicode) {
  const auto withZeroAt = [](size_t at, std::string prefix = "") {
    std::string bytes = prefix + std::string(at - prefix.size(), 'a') + '\0' + "abc";
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
  };
  struct Case {
    std::vector<unsigned char> head;
    CodePage codePage;
    bool binary;
  } cases[] = {{withZeroAt(kBinarySniffSize - 1), 1252, true},
               {withZeroAt(kBinarySniffSize), 1252, false},
               {withZeroAt(0), 65001, true},
               {withZeroAt(10), -1, false},
               {withZeroAt(10), 1201, false},
               {withZeroAt(10), 12000, false},
               {withZeroAt(10, "\xEF\xBB\xBF"), 1252, false},
               {withZeroAt(10, "\xFF\xFE"), 1252, false},
               {withZeroAt(10, "\xFE\xFF"), 1252, false},
               {withZeroAt(10, std::string("\0\0\xFE\xFF", 4)), 1252, false},
               {{}, 1252, false}};
  for (const Case& c : cases)
    EXPECT_EQ(LooksBinary(c.head, c.codePage), c.binary) << c.head.size() << " " << c.codePage;
}

TEST_F(ContentProcessing, BinaryFilesAreSkippedUntouchedUnlessSearched) {
  const std::string binary("zebra\0zebra", 11);
  tree.MakeFile(u"b.exe", binary);
  MakeReadOnly(u"b.exe");
  parameters.settings.replaceReadOnly = 1;
  for (const ActionType action : {ActionType::Replace, ActionType::FindOnly}) {
    Set(action, u"zebra", u"okapi");
    const ResultMessage& result = Process(u"b.exe");
    EXPECT_EQ(result.status, ResultStatus::FileResult);
    EXPECT_EQ(result.file->resultText, u"Binary file skipped");
    EXPECT_EQ(result.file->skipped, SkipReason::Binary);
    EXPECT_TRUE(result.file->matches.empty());
  }
  EXPECT_EQ(Content(u"b.exe"), binary);
  EXPECT_TRUE(IsReadOnly(u"b.exe")) << "never made writable";
  parameters.settings.skipBinaryFiles = 0;
  Set(ActionType::Replace, u"zebra", u"okapi");
  EXPECT_EQ(Process(u"b.exe").file->matches.size(), 2u);
  EXPECT_EQ(Content(u"b.exe"), std::string("okapi\0okapi", 11));
}

// A file with a UTF-8 or UTF-16 byte order mark is read and written in that encoding whatever the
// code pages, its mark kept in front and not part of the text.
TEST_F(ContentProcessing, ByteOrderMarkFilesKeepTheirEncodingAndMark) {
  parameters.settings.inputCodePage = 1252;
  parameters.settings.outputCodePage = 437;
  parameters.confirmReplace = false;
  const auto encode = [](int mark, std::u16string_view text) {
    if (mark == 0)
      return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    std::string bytes = mark == 1 ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
      const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
      bytes += mark == 1 ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
  };
  struct Case {
    ActionType action;
    std::u16string find, replace, after;
    PairList matches;
  } cases[] = {
      {ActionType::Replace, u"zebra", u"\u00e9\u20ac", u"caf\u00e9 \u00e9\u20ac\r\nend", {{0, 5}}},
      {ActionType::AddToBeginning, u"caf", u">", u">caf\u00e9 zebra\r\nend", {{0, 0}}},
      {ActionType::AddToEnd, u"end", u"!", u"caf\u00e9 zebra\r\nend!", {{1, 0}}},
      {ActionType::Delete, u"caf\u00e9 ", u"", u"zebra\r\nend", {{0, 0}}},
      {ActionType::FindOnly, u"\u00e9", u"", u"caf\u00e9 zebra\r\nend", {{0, 3}}},
  };
  for (int mark = 0; mark < 3; ++mark) {
    for (const Case& c : cases) {
      tree.MakeFile(u"m.txt", encode(mark, u"caf\u00e9 zebra\r\nend"));
      Set(c.action, c.find, c.replace);
      const ResultMessage& result = Process(u"m.txt");
      EXPECT_EQ(Pairs(result), c.matches) << mark << " " << static_cast<int>(c.action);
      EXPECT_EQ(Content(u"m.txt"), encode(mark, c.after))
          << mark << " " << static_cast<int>(c.action);
    }
  }
  tree.MakeFile(u"ascii.txt", "\xEF\xBB\xBFzebra zebra");  // searched as bytes
  Set(ActionType::Replace, u"zebra", u"\u00e9");
  EXPECT_EQ(Pairs(Process(u"ascii.txt")), (PairList{{0, 0}, {0, 6}}));
  EXPECT_EQ(Content(u"ascii.txt"), "\xEF\xBB\xBF\xC3\xA9 \xC3\xA9");
  const std::string utf32("\xFF\xFE\0\0z\0\0\0", 8);
  tree.MakeFile(u"w.txt", utf32);
  Set(ActionType::Replace, u"z", u"y");
  const ResultMessage& refused = Process(u"w.txt");
  EXPECT_EQ(refused.status, ResultStatus::FileError);
  EXPECT_EQ(refused.file->resultText, u"Files with a UTF-32 byte order mark are not supported");
  EXPECT_EQ(Content(u"w.txt"), utf32);
}

}  // namespace

TEST_F(ContentProcessing, EachQuestionShowsItsLineBeforeAndAfter) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, std::u16string_view(u"a+")), 0);
  parameters.regex = &program;
  struct Case {
    ActionType action;
    const char16_t* find;
    bool regex;  // the program's "a+"
    std::int32_t codePage;
    const char* content;
    std::vector<std::u16string> shown;
  };
  const Case cases[] = {
      // The bytes themselves (one-to-one code page); the first change shows in the second.
      {ActionType::Replace, u"a", false, 1252, "x\r\na a\tb\n",
       {u"Before: \u00BBa\u00AB a b\nAfter:  \u00BBQ\u00AB a b",
        u"Before: Q \u00BBa\u00AB b\nAfter:  Q \u00BBQ\u00AB b"}},
      // Decoded text; a match across a line break shows both lines.
      {ActionType::PlaceAfter, u"\u00E9\n", false, 65001, "\xC3\xA9\r\nz",
       {u"Before: \u00BB\u00E9\u00B6\u00ABz\nAfter:  \u00E9\u00B6\u00BBQ\u00ABz"}},
      {ActionType::AddToEnd, u"z", false, 65001, "a\nz\nlast",
       {u"Before: last\nAfter:  last\u00BBQ\u00AB"}},
      {ActionType::Delete, u"", false, 1252, "aaa b",
       {u"Before: \u00BBaaa b\u00AB\nAfter:  \u00BB\u00AB"}},
      {ActionType::PlaceBefore, u"x", true, 65001, "b aa",
       {u"Before: b \u00BBaa\u00AB\nAfter:  b \u00BBQ\u00ABaa"}},
  };
  for (const Case& c : cases) {
    tree.MakeFile(u"a.txt", c.content);
    window.changes.clear();
    parameters.useRegex = c.regex;
    parameters.settings.inputCodePage = parameters.settings.outputCodePage = c.codePage;
    Set(c.action, c.find, u"Q");
    parameters.confirmState = ConfirmAnswer::Ask;
    Process(u"a.txt");
    std::vector<std::u16string> shown;
    for (const ChangeLines& change : window.changes)
      shown.push_back(ChangeLinesText(change));
    EXPECT_EQ(shown, c.shown) << c.content;
  }
}

TEST_F(ContentProcessing, APreviewKeepsTheBytesItWouldWriteAndTouchesNothing) {
  tree.MakeFile(u"a.txt", "one two\r\n");
  MakeOld(u"a.txt");
  MakeReadOnly(u"a.txt");
  const platform::FileTimes times = Times(u"a.txt");
  parameters.preview = true;
  parameters.confirmReplace = false;
  parameters.settings.replaceReadOnly = 1;
  Set(ActionType::Replace, u"two", u"2");
  const ResultMessage& result = Process(u"a.txt");
  ASSERT_EQ(result.status, ResultStatus::FileResult);
  ASSERT_TRUE(result.file->preview);
  EXPECT_EQ(result.file->preview->before, "one two\r\n");
  EXPECT_EQ(result.file->preview->after, "one 2\r\n");
  EXPECT_EQ(Content(u"a.txt"), "one two\r\n");
  EXPECT_EQ(Times(u"a.txt").lastWrite, times.lastWrite);
  EXPECT_TRUE(IsReadOnly(u"a.txt"));
}
