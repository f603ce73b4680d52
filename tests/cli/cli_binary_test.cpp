// voxalon-cli as a user runs it: the real program on temporary folders, judged by its exit status,
// its output and the files afterwards.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/output_lines.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_tree.h"
#include "text/utf8.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr char kReplacementMissing[] =
    "You must specify the text in \"Replace with text\" field for this action.";
constexpr char kDeleteContentWarning[] =
    "The text in \"Text to find/replace\" field is not specified. The whole content of found "
    "files will be deleted. Continue?";
constexpr char kInvalidInputBytes[] =
    "The file holds bytes that are not valid in the input code page; it was left unchanged";
constexpr char kConfirmChoices[] = "[y] Yes  [n] No  [a] Yes To All  [q] No To All: ";

// The program beside the test program's folder: <build>/tests/voxalon_core_tests and
// <build>/voxalon-cli.
std::u16string CliProgram() {
#ifdef _WIN32
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (fs::path(self).parent_path().parent_path() / "voxalon-cli.exe").u16string();
#else
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "voxalon-cli")
      .u16string();
#endif
}

std::string U8(std::u16string_view text) {
  return Utf16ToUtf8(text);
}

// "<prefix><i>.txt"
std::u16string Numbered(std::u16string_view prefix, int i) {
  std::u16string name(prefix);
  for (char digit : std::to_string(i))
    name += static_cast<char16_t>(digit);
  return name + u".txt";
}

ChildResult Cli(const std::vector<std::string>& arguments, const ChildOptions& options = {}) {
  return RunChild(CliProgram(), arguments, options);
}

// The file lines of the default output: those that are not a match line or the last line.
std::vector<std::string> FileLines(const std::string& out) {
  std::vector<std::string> files;
  for (const std::string& line : Lines(out)) {
    if (!line.empty() && line[0] != '\t' && line.rfind("Found files: ", 0) != 0)
      files.push_back(line);
  }
  return files;
}

std::string LastLine(const std::string& out) {
  const std::vector<std::string> lines = Lines(out);
  return lines.empty() ? std::string() : lines.back();
}

std::vector<Json> JsonLines(const std::string& out) {
  std::vector<Json> objects;
  for (const std::string& line : Lines(out)) {
    objects.push_back(Json::parse(line, nullptr, false));
    EXPECT_FALSE(objects.back().is_discarded()) << line;
  }
  return objects;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The units of a UTF-16LE log after its two-byte byte order mark.
std::u16string LogUnits(const std::string& log) {
  std::u16string units;
  for (size_t i = 2; i + 1 < log.size(); i += 2)
    units += static_cast<char16_t>(static_cast<unsigned char>(log[i]) |
                                   static_cast<unsigned char>(log[i + 1]) << 8);
  return units;
}

class CliBinary : public ::testing::Test {
 protected:
  std::string Path(std::u16string_view relative) const { return U8(tree_.Path(relative)); }
  void Make(std::u16string_view relative, std::string_view content) const {
    tree_.MakeFile(relative, content);
  }
  std::string Content(std::u16string_view relative) const {
    return ReadBytes(tree_.FsPath(relative));
  }

  TempTree tree_;
};

TEST_F(CliBinary, RefusedRunsPrintOnlyTheErrorAndExit2) {
  Make(u"data/a.txt", "x");
  Make(u"texts/find.txt", "x");
  Make(u"texts/latin1.txt", "caf\xe9");
  const std::string data = Path(u"data");
  const std::string missing = Path(u"missing");
  const std::string latin1 = Path(u"texts/latin1.txt");
  struct Refusal {
    const char* what;
    std::vector<std::string> arguments;
    std::string message;  // a part of the error text
  };
  std::vector<Refusal> refusals = {
      {"unknown option", {"--path", data, "--find", "x", "--replace", "y", "--shout"}, "--shout"},
      {"--find with --find-file",
       {"--path", data, "--find", "x", "--find-file", Path(u"texts/find.txt"), "--replace", "y"},
       "--find-file"},
      {"unknown action", {"--path", data, "--find", "x", "--action", "shuffle"}, "shuffle"},
      {"0|1 value out of range",
       {"--path", data, "--find", "x", "--replace", "y", "--read-only", "2"},
       "--read-only"},
      {"unknown code page",
       {"--path", data, "--find", "x", "--replace", "y", "--input-cp", "12345"},
       "Unknown code page: 12345"},
      {"missing --find-file",
       {"--path", data, "--find-file", missing, "--replace", "y"},
       "Couldn't read \"" + missing + "\": "},
      {"--replace-file not UTF-8",
       {"--path", data, "--find", "x", "--replace-file", latin1},
       "\"" + latin1 + "\" is not valid UTF-8"},
      {"no --path", {"--find", "x", "--replace", "y"}, "--path"},
      {"--confirm without a terminal",
       {"--path", data, "--find", "x", "--replace", "y", "--confirm"},
       "--confirm asks at the terminal, and standard input is not a terminal"},
      {"replace without a replacement", {"--path", data, "--find", "x"}, kReplacementMissing},
      {"missing log folder",
       {"--path", data, "--find", "x", "--replace", "y", "--log", missing},
       "Selected log path does not exists. Please choose the existing directory."},
      {"search path that is no folder",
       {"--path", missing, "--find", "x", "--replace", "y"},
       "Path \"" + missing + "\" is not valid directory path"},
#ifndef _WIN32
      {"argument not UTF-8",
       {"--path", data, "--find", "\xff", "--replace", "y"},
       "The argument of --find is not valid UTF-8"},
#endif
  };
  // Under Wine every start costs: there only the JSON form, where stdout must stay empty too.
#ifdef _WIN32
  const bool forms[] = {true};
#else
  const bool forms[] = {false, true};
#endif
  for (const Refusal& refusal : refusals) {
    for (bool json : forms) {
      SCOPED_TRACE(std::string(refusal.what) + (json ? " (--json)" : ""));
      std::vector<std::string> arguments = refusal.arguments;
      if (json)
        arguments.push_back("--json");
      const ChildResult result = Cli(arguments);
      ASSERT_TRUE(result.finished);
      EXPECT_EQ(result.exitStatus, 2);
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err.rfind("Error: ", 0), 0u) << result.err;
      EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
      EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    }
  }
  EXPECT_EQ(Content(u"data/a.txt"), "x");
}

TEST_F(CliBinary, WarningQuestionProceedsOnlyWithYesWithoutATerminal) {
  Make(u"a.txt", "keep me");
  const ChildResult declined = Cli({"--path", Path(u""), "--action", "delete", "--json"});
  ASSERT_TRUE(declined.finished);
  EXPECT_EQ(declined.exitStatus, 3);
  EXPECT_EQ(declined.err, std::string("Warning: ") + kDeleteContentWarning + "\n");
  EXPECT_EQ(declined.out, "");
  EXPECT_EQ(Content(u"a.txt"), "keep me");

  const ChildResult confirmed = Cli({"--path", Path(u""), "--action", "delete", "--yes"});
  ASSERT_TRUE(confirmed.finished);
  EXPECT_EQ(confirmed.exitStatus, 0) << confirmed.err;
  EXPECT_EQ(Content(u"a.txt"), "");
  const std::vector<std::string> files = FileLines(confirmed.out);
  ASSERT_EQ(files.size(), 1u) << confirmed.out;
  EXPECT_EQ(Columns(files[0])[0], "a.txt");
  EXPECT_EQ(LastLine(confirmed.out), "Found files: 1");
}

TEST_F(CliBinary, ListsFilesWithMatchesAsTabSeparatedLines) {
  Make(u"top.txt", "Alpha beta\nbeta ALPHA\n");
  Make(u"sub/deep.txt", "xx alpha");
  Make(u"none.txt", "nothing here");

  const ChildResult all = Cli({"--path", Path(u""), "--find", "alpha", "--action", "find"});
  ASSERT_TRUE(all.finished);
  EXPECT_EQ(all.exitStatus, 0);
  EXPECT_EQ(all.err, "");
  const std::vector<std::string> lines = Lines(all.out);
  ASSERT_EQ(lines.size(), 6u) << all.out;
  // Subfolders come first.
  const std::vector<std::string> deep = Columns(lines[0]);
  ASSERT_EQ(deep.size(), 6u) << lines[0];
  EXPECT_EQ(deep[0], "deep.txt");
  EXPECT_EQ(deep[4], "1 matches found");
  EXPECT_EQ(deep[5], Path(u"sub"));
  EXPECT_EQ(lines[1], "\tLine number: 1. Character number: 4");
  const std::vector<std::string> top = Columns(lines[2]);
  ASSERT_EQ(top.size(), 6u) << lines[2];
  EXPECT_EQ(top[0], "top.txt");
  EXPECT_FALSE(top[2].empty());
  EXPECT_FALSE(top[3].empty());
  EXPECT_EQ(top[4], "2 matches found");
  EXPECT_EQ(top[5], Path(u""));
  EXPECT_EQ(lines[3], "\tLine number: 1. Character number: 1");
  EXPECT_EQ(lines[4], "\tLine number: 2. Character number: 6");
  EXPECT_EQ(lines[5], "Found files: 2");

  const ChildResult narrow = Cli(
      {"--path", Path(u""), "--find", "ALPHA", "--action", "find", "--case", "--no-subfolders"});
  ASSERT_TRUE(narrow.finished);
  EXPECT_EQ(narrow.exitStatus, 0);
  const std::vector<std::string> narrowLines = Lines(narrow.out);
  ASSERT_EQ(narrowLines.size(), 3u) << narrow.out;
  std::vector<std::string> narrowTop = top;
  narrowTop[4] = "1 matches found";
  EXPECT_EQ(Columns(narrowLines[0]), narrowTop);
  EXPECT_EQ(narrowLines[1], "\tLine number: 2. Character number: 6");
  EXPECT_EQ(narrowLines[2], "Found files: 1");
}

TEST_F(CliBinary, JsonGivesOneObjectPerLineWithZeroBasedPositions) {
  const std::string content = "Alpha beta\nbeta ALPHA\n";
  Make(u"top.txt", content);
  Make(u"none.txt", "nothing here");
  const ChildResult result =
      Cli({"--path", Path(u""), "--find", "alpha", "--action", "find", "--json"});
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  const std::vector<Json> objects = JsonLines(result.out);
  ASSERT_EQ(objects.size(), 2u) << result.out;
  const Json& file = objects[0];
  EXPECT_EQ(file["type"], "file");
  EXPECT_EQ(file["name"], "top.txt");
  EXPECT_EQ(file["folder"], Path(u""));
  EXPECT_EQ(file["path"], Path(u"top.txt"));
  EXPECT_EQ(file["size"], content.size());
  ASSERT_TRUE(file["modified"].is_string());
  EXPECT_TRUE(std::regex_match(file["modified"].get<std::string>(),
                               std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
      << file["modified"];
  EXPECT_EQ(file["result"], "2 matches found");
  EXPECT_EQ(file["matches"], Json::parse("[[0,0],[1,5]]"));
  EXPECT_EQ(objects[1], Json::parse(R"({"type":"end","found":1})"));
}

TEST_F(CliBinary, FileErrorsGiveStatus1AndGoToTheErrorLog) {
  // Bytes that are not UTF-8 make the file an error in a UTF-8 replace, on every platform.
  Make(u"data/good.txt", "old");
  Make(u"data/bad.txt", "old \xff");
  tree_.MakeFolder(u"log");
  const std::string badPart = " (\"" + Path(u"data/bad.txt") + "\"): " + kInvalidInputBytes;
  const std::vector<std::string> run = {"--path",     Path(u"data"), "--find", "old",
                                        "--replace",  "new",         "--log",  Path(u"log"),
                                        "--input-cp", "65001"};

  const ChildResult text = Cli(run);
  ASSERT_TRUE(text.finished);
  EXPECT_EQ(text.exitStatus, 1);
  EXPECT_EQ(text.err, badPart + "\n");
  EXPECT_EQ(Content(u"data/good.txt"), "new");
  EXPECT_EQ(Content(u"data/bad.txt"), "old \xff");
  ASSERT_EQ(FileLines(text.out).size(), 1u) << text.out;
  EXPECT_EQ(LastLine(text.out), "Found files: 1");
  // The log is UTF-16LE with its byte order mark, an entry per error ending in CR LF.
  const std::string log = Content(u"log/VOXALog.txt");
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.substr(0, 2), "\xff\xfe");
  const std::u16string entries = LogUnits(log);
  std::u16string expected;
  Utf8ToUtf16(badPart, expected);
  EXPECT_NE(entries.find(expected + u"\r\n"), std::u16string::npos) << U8(entries);

  Make(u"data/good.txt", "old");
  std::vector<std::string> jsonRun = run;
  jsonRun.insert(jsonRun.end(), {"--json", "--log-type", "html"});
  const ChildResult json = Cli(jsonRun);
  ASSERT_TRUE(json.finished);
  EXPECT_EQ(json.exitStatus, 1);
  EXPECT_EQ(json.err, "");
  std::set<std::string> types;
  for (const Json& object : JsonLines(json.out)) {
    types.insert(object.value("type", ""));
    if (object["type"] == "error") {
      EXPECT_EQ(object["text"], badPart);
    } else if (object["type"] == "file") {
      EXPECT_EQ(object["name"], "good.txt");
    }
  }
  EXPECT_EQ(types, (std::set<std::string>{"file", "error", "end"}));
  EXPECT_EQ(LastLine(json.out), R"({"type":"end","found":1})");
  EXPECT_TRUE(fs::exists(tree_.FsPath(u"log/VOXALog.html")));
}

TEST_F(CliBinary, SystemErrorTextsPrintAsOneLine) {
  // A file the program cannot open: a link to nowhere, or a file this process holds unshared.
  Make(u"data/good.txt", "old");
#ifdef _WIN32
  HANDLE held = CreateFileW(tree_.FsPath(u"data/held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
#else
  fs::create_symlink(tree_.FsPath(u"nowhere"), tree_.FsPath(u"data/held.txt"));
#endif
  const std::vector<std::string> run = {"--path", Path(u"data"), "--find",
                                        "old",    "--replace",   "new"};
  const ChildResult text = Cli(run);
  std::vector<std::string> jsonRun = run;
  jsonRun.push_back("--json");
  const ChildResult json = Cli(jsonRun);
#ifdef _WIN32
  CloseHandle(held);
#endif
  ASSERT_TRUE(text.finished);
  EXPECT_EQ(text.exitStatus, 1);
  const std::string prefix = " (\"" + Path(u"data/held.txt") + "\"): ";
  const std::vector<std::string> errors = Lines(text.err);
  ASSERT_EQ(errors.size(), 1u) << text.err;
  EXPECT_EQ(errors[0].rfind(prefix, 0), 0u) << errors[0];
  EXPECT_GT(errors[0].size(), prefix.size());
  EXPECT_EQ(errors[0].find('\r'), std::string::npos) << errors[0];

  ASSERT_TRUE(json.finished);
  EXPECT_EQ(json.exitStatus, 1);
  bool sawError = false;
  for (const Json& object : JsonLines(json.out)) {
    if (object["type"] != "error")
      continue;
    sawError = true;
    EXPECT_EQ(object["text"], errors[0]);
  }
  EXPECT_TRUE(sawError) << json.out;
}

TEST_F(CliBinary, TextsFromFilesReplaceAcrossLineBreaks) {
  Make(u"data/crlf.txt", "head alpha\r\nbeta tail\r\n");
  Make(u"data/lf.txt", "head alpha\nbeta tail\n");
  // Every byte of the files is kept; the CRs and trailing line break of the find text go.
  Make(u"texts/find.txt", "alpha\r\nbeta\r\n");
  Make(u"texts/replace.txt", "one\ntwo");
  const ChildResult asInFile = Cli({"--path", Path(u"data"), "--find-file", Path(u"texts/find.txt"),
                                    "--replace-file", Path(u"texts/replace.txt")});
  ASSERT_TRUE(asInFile.finished);
  EXPECT_EQ(asInFile.exitStatus, 0) << asInFile.err;
  EXPECT_EQ(LastLine(asInFile.out), "Found files: 2");
  EXPECT_EQ(Content(u"data/crlf.txt"), "head one\r\ntwo tail\r\n");
  EXPECT_EQ(Content(u"data/lf.txt"), "head one\ntwo tail\n");

  // Kept, the find text's line break matches either kind; the replacement's follows --newline.
  Make(u"texts/find.txt", "tail\n");
  Make(u"texts/replace.txt", "end\n");
  const ChildResult crlf =
      Cli({"--path", Path(u"data"), "--find-file", Path(u"texts/find.txt"), "--replace-file",
           Path(u"texts/replace.txt"), "--trim-newlines", "0", "--newline", "crlf"});
  ASSERT_TRUE(crlf.finished);
  EXPECT_EQ(crlf.exitStatus, 0) << crlf.err;
  EXPECT_EQ(Content(u"data/crlf.txt"), "head one\r\ntwo end\r\n");
  EXPECT_EQ(Content(u"data/lf.txt"), "head one\ntwo end\r\n");
}

TEST_F(CliBinary, MaxFilesEndsTheRunWithStatus0) {
  constexpr int kFiles = 6;
  for (int i = 0; i < kFiles; ++i)
    Make(Numbered(u"f", i), "x");
  const ChildResult result =
      Cli({"--path", Path(u""), "--find", "x", "--replace", "y", "--max-files", "2"});
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(FileLines(result.out).size(), 2u) << result.out;
  EXPECT_EQ(LastLine(result.out), "Found files: 2");
  // The third file is processed, not listed, and the run stops there.
  int changed = 0;
  for (int i = 0; i < kFiles; ++i)
    changed += Content(Numbered(u"f", i)) == "y";
  EXPECT_EQ(changed, 3);
}

TEST_F(CliBinary, ArgumentsAreUtf8WhateverTheLocale) {
  const std::u16string folder = u"dossier \u00e9";
  const std::u16string file = folder + u"/gr\u00fc\u00dfe.txt";
  Make(file, U8(u"Gr\u00fc\u00dfe aus K\u00f6ln\n"));
  ChildOptions options;
  options.environment = {"LC_ALL=C", "LANG=C"};
  // The replacement's quotes and trailing backslash check the quoting of the command line.
  const ChildResult result =
      Cli({"--path", Path(folder), "--input-cp", "65001", "--find", U8(u"gr\u00fc\u00dfe"),
           "--replace", U8(u"Gr\u00f6\u00dfe \"x\" \\")},
          options);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(Content(file), U8(u"Gr\u00f6\u00dfe \"x\" \\ aus K\u00f6ln\n"));
  const std::vector<std::string> files = FileLines(result.out);
  ASSERT_EQ(files.size(), 1u) << result.out;
  const std::vector<std::string> columns = Columns(files[0]);
  EXPECT_EQ(columns.front(), U8(u"gr\u00fc\u00dfe.txt"));
  EXPECT_EQ(columns.back(), Path(folder));
}

#ifndef _WIN32
// Names are bytes on POSIX; those that are not UTF-8 are reached, kept and shown as U+FFFD.
TEST_F(CliBinary, NamesThatAreNotUtf8AreSearchedReplacedAndRenamed) {
  const std::string root = Path(u"data");
  const std::string folder = root + "/\xE9-dir";  // a Latin-1 e acute
  const std::string logFolder = Path(u"") + "/log\xFE";
  fs::create_directories(folder);
  fs::create_directory(logFolder);
  const auto write = [](const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  };
  write(root + "/\xFF\xFE.txt", "a zebra");
  write(root + "/ok.txt", "zebra");
  write(folder + "/a.txt", "zebra");
  fs::create_symlink(root + "/nowhere", folder + "/gone\xE9.lnk");  // the one file error
  const auto hex = [](const std::string& bytes) {
    std::string text;
    for (const unsigned char byte : bytes) {
      text += "0123456789abcdef"[byte >> 4];
      text += "0123456789abcdef"[byte & 0xF];
    }
    return text;
  };
  const std::string shownFolder = root + "/\uFFFD-dir";

  const ChildResult replaced = Cli({"--path", root, "--find", "zebra", "--replace", "okapi",
                                    "--case", "--json", "--log", logFolder});
  ASSERT_TRUE(replaced.finished);
  EXPECT_EQ(replaced.exitStatus, 1) << replaced.out;
  EXPECT_EQ(ReadBytes(root + "/\xFF\xFE.txt"), "a okapi");
  EXPECT_EQ(ReadBytes(root + "/ok.txt"), "okapi");
  EXPECT_EQ(ReadBytes(folder + "/a.txt"), "okapi");
  std::map<std::string, Json> files;
  std::vector<std::string> errors;
  for (const Json& object : JsonLines(replaced.out)) {
    if (object["type"] == "file")
      files[object["path"]] = object;
    else if (object["type"] == "error")
      errors.push_back(object["text"]);
  }
  ASSERT_EQ(files.size(), 3u) << replaced.out;
  const Json& odd = files[root + "/\uFFFD\uFFFD.txt"];
  EXPECT_EQ(odd["name"], "\uFFFD\uFFFD.txt");
  EXPECT_EQ(odd["nameHex"], "fffe2e747874");
  EXPECT_EQ(odd["pathHex"], hex(root + "/\xFF\xFE.txt"));
  EXPECT_EQ(files[shownFolder + "/a.txt"]["pathHex"], hex(folder + "/a.txt"));
  EXPECT_FALSE(files[root + "/ok.txt"].contains("pathHex"));
  const std::string goneError = " (\"" + shownFolder + "/gone\uFFFD.lnk\"): ";
  ASSERT_EQ(errors.size(), 1u) << replaced.out;
  EXPECT_EQ(errors[0].rfind(goneError, 0), 0u) << errors[0];
  const std::u16string log = LogUnits(ReadBytes(logFolder + "/VOXALog.txt"));
  std::u16string shownError;
  Utf8ToUtf16(goneError, shownError);
  EXPECT_NE(log.find(shownError), std::u16string::npos) << U8(log);

  // Shown as U+FFFD, such a byte is still no U+FFFD to the search.
  const ChildResult shown =
      Cli({"--path", root, "--rename", "--find", "\uFFFD", "--action", "find"});
  ASSERT_TRUE(shown.finished);
  EXPECT_EQ(shown.out, "Found files: 0\n");

  // Rename mode keeps every byte of the old name that is not UTF-8.
  const ChildResult renamed = Cli({"--path", root, "--mask", "*.txt", "--rename", "--find", ".TXT",
                                   "--replace", ".md", "--keep-date", "1"});
  ASSERT_TRUE(renamed.finished);
  EXPECT_EQ(renamed.exitStatus, 0) << renamed.err;
  EXPECT_EQ(renamed.err, "");
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    names.insert(entry.path().string().substr(root.size()));
  EXPECT_EQ(names, (std::set<std::string>{"/\xFF\xFE.md", "/ok.md", "/\xE9-dir", "/\xE9-dir/a.md",
                                          "/\xE9-dir/gone\xE9.lnk"}));
  EXPECT_EQ(ReadBytes(root + "/\xFF\xFE.md"), "a okapi");
}
#endif

// No runtime expands a mask against the current folder, and a path that a backslash before its
// closing quote left ending in a quote ("C:\dir\" arrives as C:\dir") is searched without it.
TEST_F(CliBinary, ArgumentsArriveAsWritten) {
  Make(u"data/a.txt", "x");
  Make(u"current/one.txt", "x");
  Make(u"current/two.txt", "x");
  const fs::path previous = fs::current_path();
  fs::current_path(tree_.FsPath(u"current"));
  const ChildResult result =
      Cli({"--path", Path(u"data") + "\"", "--mask", "*.txt", "--find", "x", "--action", "find"});
  fs::current_path(previous);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(LastLine(result.out), "Found files: 1") << result.out;
  EXPECT_EQ(result.err.rfind("Note: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(Path(u"data")), std::string::npos) << result.err;
}

TEST_F(CliBinary, CtrlCStopsTheRunLeavingEveryFileWhole) {
  // Enough files that the run is still going when the first output line arrives.
  constexpr int kFiles = 500;
  std::string filler;
  for (int i = 0; i < 400; ++i)
    filler += "a line that only fills the file\n";
  const std::string before = "old\n" + filler;
  const std::string after = "new\n" + filler;
  auto name = [](int i) { return Numbered(u"big/f", i); };
  for (int i = 0; i < kFiles; ++i)
    Make(name(i), before);

  ChildProcess child;
  ASSERT_TRUE(
      child.Start(CliProgram(), {"--path", Path(u"big"), "--find", "old", "--replace", "new",
                                 "--backup-dir", Path(u"backups")}));
  ASSERT_TRUE(child.WaitFor(ChildStream::Out, "\n")) << child.err();
  const bool sent = child.Interrupt();
#ifdef _WIN32
  if (!sent) {
    // Wine's consoles refuse GenerateConsoleCtrlEvent, with or without a terminal behind them;
    // the child is killed on the way out.
    const unsigned long error = GetLastError();
    GTEST_SKIP() << "Ctrl+Break could not be sent to the child (GenerateConsoleCtrlEvent error "
                 << error << ")";
  }
#endif
  ASSERT_TRUE(sent);
  ASSERT_TRUE(child.Wait());
  EXPECT_EQ(child.exitStatus(), 130) << child.err();
  const std::string out = child.out();
  const std::string last = LastLine(out);
  ASSERT_EQ(last.rfind("Found files: ", 0), 0u) << last;
  const int listed = std::stoi(last.substr(13));
  EXPECT_EQ(static_cast<int>(FileLines(out).size()), listed);

  int changed = 0;
  for (int i = 0; i < kFiles; ++i) {
    const std::string content = Content(name(i));
    EXPECT_TRUE(content == before || content == after) << "f" << i << " is half written";
    changed += content == after;
  }
  EXPECT_EQ(changed, listed);
  EXPECT_LT(changed, kFiles) << "the run ended before the interrupt";
}

#ifndef _WIN32
// The questions at a terminal; Windows has no pseudo-terminal for the child here.

// The question for a change of "x" to "y" unless the marked lines are given.
std::string ConfirmQuestion(const std::string& path, int line,
                            const std::string& before = "\u00BBx\u00AB",
                            const std::string& after = "\u00BBy\u00AB") {
  return "The following file:\n\"" + path + "\"\n(line " + std::to_string(line) +
         ", character 1) will be processed. Continue?\nBefore: " + before + "\nAfter:  " + after +
         "\n" + kConfirmChoices;
}

TEST_F(CliBinary, ConfirmAsksEachMatchAtTheTerminal) {
  Make(u"one/lines.txt", "x\nx\nx\nx\n");
  ChildOptions terminal;
  terminal.terminal = true;
  ChildProcess child;
  ASSERT_TRUE(child.Start(CliProgram(),
                          {"--path", Path(u"one"), "--find", "x", "--replace", "y", "--confirm"},
                          terminal));
  const std::string path = Path(u"one/lines.txt");
  // Yes, No after an answer that is none, then Yes To All for the rest.
  const std::vector<std::pair<int, std::string>> dialogue = {
      {1, "y\n"}, {2, "maybe\n"}, {2, " N \n"}, {3, "a\n"}};
  for (const auto& [line, answer] : dialogue) {
    ASSERT_TRUE(child.WaitFor(ChildStream::Err, ConfirmQuestion(path, line))) << child.err();
    child.Type(answer);
  }
  ASSERT_TRUE(child.Wait());
  EXPECT_EQ(child.exitStatus(), 0);
  EXPECT_FALSE(child.WaitFor(ChildStream::Err, kConfirmChoices, ChildProcess::Duration(0)))
      << "asked again after Yes To All:\n"
      << child.err();
  EXPECT_EQ(Content(u"one/lines.txt"), "y\nx\ny\ny\n");
  EXPECT_EQ(LastLine(child.out()), "Found files: 1");

  // No To All at the first question leaves every file as it was.
  Make(u"two/a.txt", "x");
  Make(u"two/b.txt", "x");
  ChildProcess quit;
  ASSERT_TRUE(quit.Start(CliProgram(),
                         {"--path", Path(u"two"), "--find", "x", "--replace", "y", "--confirm"},
                         terminal));
  ASSERT_TRUE(quit.WaitFor(ChildStream::Err, kConfirmChoices)) << quit.err();
  quit.Type("q\n");
  ASSERT_TRUE(quit.Wait());
  EXPECT_EQ(quit.exitStatus(), 0);
  EXPECT_FALSE(quit.WaitFor(ChildStream::Err, kConfirmChoices, ChildProcess::Duration(0)))
      << quit.err();
  EXPECT_EQ(Content(u"two/a.txt"), "x");
  EXPECT_EQ(Content(u"two/b.txt"), "x");
}

TEST_F(CliBinary, WarningQuestionIsAskedAtTheTerminal) {
  Make(u"a.txt", "keep me");
  ChildOptions terminal;
  terminal.terminal = true;
  const std::string question = std::string("Warning: ") + kDeleteContentWarning + "\nGo on? [y/n] ";
  ChildProcess no;
  ASSERT_TRUE(no.Start(CliProgram(), {"--path", Path(u""), "--action", "delete"}, terminal));
  ASSERT_TRUE(no.WaitFor(ChildStream::Err, question)) << no.err();
  no.Type("n\n");
  ASSERT_TRUE(no.Wait());
  EXPECT_EQ(no.exitStatus(), 3);
  EXPECT_EQ(no.out(), "");
  EXPECT_EQ(Content(u"a.txt"), "keep me");

  // Yes goes on to the run; the end of the input at a change's question answers No To All.
  ChildProcess yes;
  ASSERT_TRUE(
      yes.Start(CliProgram(), {"--path", Path(u""), "--action", "delete", "--confirm"}, terminal));
  ASSERT_TRUE(yes.WaitFor(ChildStream::Err, question)) << yes.err();
  yes.Type("y\n");
  ASSERT_TRUE(yes.WaitFor(ChildStream::Err, ConfirmQuestion(Path(u"a.txt"), 1, "\u00BBkeep me\u00AB", "\u00BB\u00AB")))
      << yes.err();
  yes.Type("\x04");  // Ctrl+D: the end of the input
  ASSERT_TRUE(yes.Wait());
  EXPECT_EQ(yes.exitStatus(), 0);
  EXPECT_EQ(Content(u"a.txt"), "keep me");

  // Ctrl+C while the question waits for its answer.
  ChildProcess interrupted;
  ASSERT_TRUE(
      interrupted.Start(CliProgram(), {"--path", Path(u""), "--action", "delete"}, terminal));
  ASSERT_TRUE(interrupted.WaitFor(ChildStream::Err, question)) << interrupted.err();
  ASSERT_TRUE(interrupted.Interrupt());
  ASSERT_TRUE(interrupted.Wait());
  EXPECT_EQ(interrupted.exitStatus(), 130);
  EXPECT_EQ(interrupted.out(), "");
  EXPECT_EQ(Content(u"a.txt"), "keep me");
}
#endif

}  // namespace

TEST_F(CliBinary, RunsUndoAndRecoverWorkOnTheBackupsWithJsonLines) {
  Make(u"data/a.txt", "an old tale");
  const std::string backups = Path(u"backups");
  ASSERT_EQ(Cli({"--path", Path(u"data"), "--find", "old", "--replace", "new", "--backup-dir",
                 backups})
                .exitStatus,
            0);
  const ChildResult runs = Cli({"--runs", "--json", "--backup-dir", backups});
  ASSERT_EQ(runs.exitStatus, 0);
  const std::vector<Json> listed = JsonLines(runs.out);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0]["files"], 1);
  EXPECT_EQ(listed[0]["state"], "ended");
  EXPECT_EQ(listed[0]["path"], Path(u"data"));
  // Without a terminal the question needs --yes.
  EXPECT_EQ(Cli({"--undo", "--backup-dir", backups}).exitStatus, 3);
  EXPECT_EQ(Content(u"data/a.txt"), "an new tale");
  const ChildResult undo = Cli({"--undo", "--yes", "--json", "--backup-dir", backups});
  ASSERT_EQ(undo.exitStatus, 0) << undo.err;
  EXPECT_EQ(Content(u"data/a.txt"), "an old tale");
  const std::vector<Json> lines = JsonLines(undo.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["result"], "Restored");
  // A restored file is a row of its own, without a made-up match.
  EXPECT_TRUE(lines[0]["matches"].empty());
  EXPECT_TRUE(JsonLines(Cli({"--runs", "--json", "--backup-dir", backups}).out).empty());
  const ChildResult recover = Cli({"--recover", "--backup-dir", backups});
  EXPECT_EQ(recover.exitStatus, 0);
  EXPECT_NE(recover.err.find("No run was interrupted."), std::string::npos);
}
namespace {

// A Replace over a copy of a project with version control, packages, build output and binaries:
// with the preset nothing under the usual folders changes, no binary changes, and each skip says
// why.
TEST_F(CliBinary, ReplaceWithThePresetLeavesExcludedFoldersAndBinariesByteIdentical) {
  const std::map<std::u16string, std::string> untouched = {
      {u".git/config", "[core]\nzebra = 1\n"},
      {u".git/objects/ab/cdef", std::string("x\0zebra", 7)},
      {u"node_modules/pkg/index.js", "module.exports = 'zebra';\n"},
      {u"bin/Debug/app.exe", std::string("MZ\x90\0\0zebra", 10)},
      {u"obj/cache.txt", "zebra\n"},
      {u"assets/logo.png", std::string("\x89PNG\r\n\x1a\n\0\0zebra", 15)},
      {u"docs/report.docx", std::string("PK\x03\x04\0\0zebra", 11)},
  };
  for (const auto& [path, content] : untouched)
    Make(path, content);
  Make(u"src/main.cs", "var zebra = 1;\n");
  Make(u"src/notes.txt", std::string("\xFF\xFEz\0e\0b\0r\0a\0", 12));

  const ChildResult result = Cli({"--path", Path(u""), "--find", "zebra", "--replace", "okapi",
                                  "--exclude-preset", "--json"});
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  for (const auto& [path, content] : untouched)
    EXPECT_EQ(Content(path), content) << U8(path);
  EXPECT_EQ(Content(u"src/main.cs"), "var okapi = 1;\n");
  EXPECT_EQ(Content(u"src/notes.txt"), std::string("\xFF\xFEo\0k\0a\0p\0i\0", 12));

  std::multiset<std::string> reasons;
  for (const Json& object : JsonLines(result.out)) {
    if (object["type"] == "skipped")
      reasons.insert(object["name"].get<std::string>() + ":" + object["reason"].get<std::string>());
  }
  EXPECT_EQ(reasons, (std::multiset<std::string>{".git:excluded", "node_modules:excluded",
                                                 "bin:excluded", "obj:excluded",
                                                 "logo.png:binary", "report.docx:binary"}));
  EXPECT_EQ(JsonLines(result.out).back(),
            Json::parse(R"({"type":"end","found":2,"skipped":{"binary":2,"excluded":4}})"));
}

}  // namespace
