// The console front end in process: the command line through to the files, with a console whose
// terminal answers from a script.
#include "cli/cli_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <deque>
#include <filesystem>
#include <fstream>

#include "cli/exit_status.h"
#include "cli/preview_lines.h"
#include "platform/absolute_path.h"
#include "platform/string_table.h"
#include "processing/error_log.h"
#include "tests/cli/output_lines.h"
#include "tests/support/temp_tree.h"
#include "text/text_format.h"
#include "text/utf8.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

class ScriptedConsole : public Console {
 public:
  void Write(ConsoleStream stream, std::string_view utf8) override {
    (stream == ConsoleStream::Out ? out : err).append(utf8);
  }
  void Flush() override {}
  bool InputIsTerminal() const override { return terminal; }
  bool ReadLine(std::string& line) override {
    ++reads;
    if (interruptOnRead)
      interrupted = true;
    if (answers.empty())
      return false;
    line = answers.front();
    answers.pop_front();
    return true;
  }
  bool Interrupted() const override { return interrupted; }

  bool terminal = false;
  bool interrupted = false;
  bool interruptOnRead = false;
  std::deque<std::string> answers;
  std::string out;
  std::string err;
  int reads = 0;
};

std::string Text(const std::u16string& text) {
  return Utf16ToUtf8(text);
}

class CliSession : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--path", Text(tree.root())});
    return CliMain(arguments, console);
  }
  std::string Content(std::u16string_view name) const {
    std::ifstream in(tree.FsPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Error(unsigned id) const {
    return Text(FormatString(IDS_CLI_ERROR, {platform::LoadText(id)}));
  }
  std::string Warning(unsigned id) const {
    return Text(FormatString(IDS_CLI_WARNING, {platform::LoadText(id)}));
  }

  TempTree tree;
  ScriptedConsole console;
};

TEST_F(CliSession, ListsMatchingFilesWithTheResultColumnsAndPositions) {
  tree.MakeFile(u"a.txt", "one two\r\ntwo two\n");
  tree.MakeFile(u"b.txt", "nothing here");
  EXPECT_EQ(Run({"--find", "TWO", "--action", "find"}), kExitFinished);
  EXPECT_THAT(console.err, IsEmpty());
  const std::vector<std::string> lines = Lines(console.out);
  ASSERT_EQ(lines.size(), 5u) << console.out;
  const std::vector<std::string> columns = Columns(lines[0]);
  ASSERT_EQ(columns.size(), 6u);
  EXPECT_EQ(columns[0], "a.txt");
  EXPECT_EQ(columns[2], "17 Bytes");
  EXPECT_EQ(columns[4], Text(FormatString(IDS_MATCHES_FOUND, {3})));
  EXPECT_EQ(columns[5], Text(tree.root()));
  EXPECT_EQ(lines[1], "\t" + Text(FormatString(IDS_MATCH_POSITION, {1, 5})));
  EXPECT_EQ(lines[2], "\t" + Text(FormatString(IDS_MATCH_POSITION, {2, 1})));
  EXPECT_EQ(lines[3], "\t" + Text(FormatString(IDS_MATCH_POSITION, {2, 5})));
  EXPECT_EQ(lines[4], Text(FormatString(IDS_FOUND_FILES, {1})));

  // --count: the row alone; in JSON the number in place of the positions.
  console.out.clear();
  EXPECT_EQ(Run({"--find", "TWO", "--action", "find", "--count"}), kExitFinished);
  EXPECT_EQ(Lines(console.out), (std::vector<std::string>{lines[0], lines[4]}));
  console.out.clear();
  EXPECT_EQ(Run({"--find", "TWO", "--action", "find", "--count", "--json"}), kExitFinished);
  const auto file = nlohmann::json::parse(Lines(console.out)[0]);
  EXPECT_EQ(file["count"], 3);
  EXPECT_FALSE(file.contains("matches"));
}

TEST_F(CliSession, AFileWithManyMatchesPrintsEveryPositionInOrder) {
  std::string content;
  for (int line = 0; line < 3000; ++line)
    content += "a x b x\n";
  tree.MakeFile(u"many.txt", content);
  tree.MakeFile(u"one.txt", "x");
  EXPECT_EQ(Run({"--find", "x", "--action", "find", "--mask", "many.txt,one.txt"}), kExitFinished);
  const std::vector<std::string> lines = Lines(console.out);
  ASSERT_EQ(lines.size(), 1u + 6000u + 1u + 1u + 1u);
  EXPECT_EQ(Columns(lines[0])[0], "many.txt");
  EXPECT_EQ(lines[1], "\t" + Text(FormatString(IDS_MATCH_POSITION, {1, 3})));
  EXPECT_EQ(lines[5999], "\t" + Text(FormatString(IDS_MATCH_POSITION, {3000, 3})));
  EXPECT_EQ(lines[6000], "\t" + Text(FormatString(IDS_MATCH_POSITION, {3000, 7})));
  EXPECT_EQ(Columns(lines[6001])[0], "one.txt");
  EXPECT_EQ(lines[6002], "\t" + Text(FormatString(IDS_MATCH_POSITION, {1, 1})));

  console.out.clear();
  EXPECT_EQ(Run({"--find", "x", "--action", "find", "--mask", "many.txt", "--json"}),
            kExitFinished);
  const std::vector<std::string> json = Lines(console.out);
  ASSERT_EQ(json.size(), 2u);
  const auto matches = nlohmann::json::parse(json[0])["matches"];
  ASSERT_EQ(matches.size(), 6000u);
  EXPECT_EQ(matches[5999], nlohmann::json::parse("[2999,6]"));
}

TEST_F(CliSession, JsonLinesCarryTheRecordedPositionsAndErrorsInArrivalOrder) {
  tree.MakeFile(u"a.txt", "x\nab x");
  // Bytes that are not UTF-8 fail the file rather than be written back changed.
  tree.MakeFile(u"broken.txt", "x \xFF");
  EXPECT_EQ(Run({"--find", "x", "--replace", "y", "--input-cp", "65001", "--json"}),
            kExitWithErrors);
  EXPECT_THAT(console.err, IsEmpty());
  const std::vector<std::string> lines = Lines(console.out);
  ASSERT_EQ(lines.size(), 3u) << console.out;
  const auto file = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(file["type"], "file");
  EXPECT_EQ(file["name"], "a.txt");
  EXPECT_EQ(file["folder"], Text(tree.root()));
  EXPECT_EQ(file["path"], Text(tree.Path(u"a.txt")));
  EXPECT_EQ(file["size"], 6);
  EXPECT_EQ(file["matches"], nlohmann::json::parse("[[0,0],[1,3]]"));
  EXPECT_EQ(std::string(file["modified"]).size(), 19u);
  const auto error = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(error["type"], "error");
  EXPECT_THAT(std::string(error["text"]), HasSubstr("broken.txt"));
  EXPECT_THAT(std::string(error["text"]),
              HasSubstr(Text(platform::LoadText(IDS_INVALID_INPUT_BYTES))));
  EXPECT_EQ(nlohmann::json::parse(lines[2]), nlohmann::json::parse(R"({"type":"end","found":1})"));
  EXPECT_EQ(Content(u"a.txt"), "y\nab y");
  EXPECT_EQ(Content(u"broken.txt"), "x \xFF");
}

TEST_F(CliSession, ErrorsGoToStandardErrorAndTheLogFolder) {
  tree.MakeFile(u"broken.txt", "x \xFF");
  tree.MakeFolder(u"logs");
  EXPECT_EQ(Run({"--mask", "*.txt", "--find", "x", "--replace", "y", "--input-cp", "65001", "--log",
                 Text(tree.Path(u"logs"))}),
            kExitWithErrors);
  EXPECT_THAT(console.err, HasSubstr(Text(platform::LoadText(IDS_INVALID_INPUT_BYTES))));
  EXPECT_THAT(Lines(console.out), ElementsAre(Text(FormatString(IDS_FOUND_FILES, {0}))));
  const std::string log = [&] {
    std::ifstream in(tree.FsPath(u"logs/" + ErrorLogFileName(kLogText)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  // UTF-16LE: the name appears with a zero after each ASCII byte.
  EXPECT_THAT(log, HasSubstr(std::string("b\0r\0o\0k\0e\0n\0", 12)));
}

TEST_F(CliSession, ChecksRefuseTheRunWithNothingOnStandardOutput) {
  tree.MakeFile(u"a.txt", "x");
  for (bool json : {false, true}) {
    console = ScriptedConsole();
    std::vector<std::string> arguments{"--find", "x"};
    if (json)
      arguments.push_back("--json");
    EXPECT_EQ(Run(arguments), kExitRefused);
    EXPECT_THAT(console.out, IsEmpty());
    EXPECT_EQ(console.err, Error(IDS_REPLACEMENT_MISSING) + "\n");
  }
  console = ScriptedConsole();
  EXPECT_EQ(Run({"--find", "(", "--regex", "--action", "find"}), kExitRefused);
  EXPECT_THAT(console.err, StartsWith(Text(FormatString(IDS_CLI_ERROR, {u""}))));
  console = ScriptedConsole();
  EXPECT_EQ(Run({"--action", "find", "--log", Text(tree.Path(u"missing"))}), kExitRefused);
  EXPECT_EQ(console.err, Error(IDS_LOG_PATH_MISSING) + "\n");
  EXPECT_EQ(Content(u"a.txt"), "x");
}

TEST_F(CliSession, WarningQuestionsProceedOnlyWithYesOrAnAnswer) {
  tree.MakeFile(u"a.txt", "keep");
  // No terminal: the warning is printed and the run cancelled.
  EXPECT_EQ(Run({"--action", "delete"}), kExitCancelled);
  EXPECT_EQ(console.err, Warning(IDS_DELETE_CONTENT_WARNING) + "\n");
  EXPECT_THAT(console.out, IsEmpty());
  // At a terminal the user is asked; "n" cancels, the end of the input too.
  for (const char* answer : {"n", "no", ""}) {
    console = ScriptedConsole();
    console.terminal = true;
    if (*answer)
      console.answers = {"maybe", answer};
    EXPECT_EQ(Run({"--action", "delete"}), kExitCancelled) << answer;
    EXPECT_THAT(console.err, HasSubstr(Text(platform::LoadText(IDS_CLI_PROCEED_QUESTION))));
    EXPECT_THAT(console.out, IsEmpty());
  }
  EXPECT_EQ(Content(u"a.txt"), "keep");

  console = ScriptedConsole();
  console.terminal = true;
  console.answers = {" Y "};
  EXPECT_EQ(Run({"--action", "delete"}), kExitFinished);
  EXPECT_EQ(Content(u"a.txt"), "");

  tree.MakeFile(u"a.txt", "keep");
  console = ScriptedConsole();
  EXPECT_EQ(Run({"--action", "delete", "--yes"}), kExitFinished);
  EXPECT_EQ(console.err, Warning(IDS_DELETE_CONTENT_WARNING) + "\n");
  EXPECT_EQ(console.reads, 0);
  EXPECT_EQ(Content(u"a.txt"), "");
}

TEST_F(CliSession, ConfirmAsksEachMatchAtTheTerminal) {
  tree.MakeFile(u"a.txt", "x x x x");
  console.terminal = true;
  console.answers = {"y", "what", "n", "a"};
  EXPECT_EQ(Run({"--find", "x", "--replace", "y", "--confirm"}), kExitFinished);
  EXPECT_EQ(Content(u"a.txt"), "y x y y");
  EXPECT_EQ(console.reads, 4);
  const std::string question = Text(platform::LoadText(IDS_CLI_CONFIRM_QUESTION));
  EXPECT_THAT(console.err, HasSubstr(Text(tree.Path(u"a.txt"))));
  // The question shows the line before and after; the first change shows in the next one.
  EXPECT_THAT(console.err, HasSubstr("Before: y \u00BBx\u00AB x x\nAfter:  y \u00BBy\u00AB x x\n"));
  size_t asked = 0;
  for (size_t at = 0; (at = console.err.find(question, at)) != std::string::npos; ++at)
    ++asked;
  EXPECT_EQ(asked, 4u);

  // q answers No To All, and so does the end of the input.
  for (auto answers : {std::deque<std::string>{"y", "q"}, std::deque<std::string>{"y"}}) {
    tree.MakeFile(u"a.txt", "x x x x");
    console = ScriptedConsole();
    console.terminal = true;
    console.answers = answers;
    EXPECT_EQ(Run({"--find", "x", "--replace", "y", "--confirm"}), kExitFinished);
    EXPECT_EQ(Content(u"a.txt"), "y x x x");
  }

  console = ScriptedConsole();
  EXPECT_EQ(Run({"--find", "x", "--replace", "y", "--confirm"}), kExitRefused);
  EXPECT_EQ(console.err, Error(IDS_CLI_CONFIRM_NEEDS_TERMINAL) + "\n");
}

TEST_F(CliSession, MultiLineTextsComeFromUtf8Files) {
  tree.MakeFile(u"doc.txt", "alpha\r\nbeta\r\ngamma\r\n");
  tree.MakeFile(u"lf.txt", "alpha\nbeta\ngamma\n");
  tree.MakeFolder(u"texts");
  tree.MakeFile(u"texts/find.txt", "alpha\r\nbeta\r\n");
  tree.MakeFile(u"texts/replace.txt", "\xC3\xA9tape 1\nstep 2");
  EXPECT_EQ(
      Run({"--mask", "*.txt", "--no-subfolders", "--find-file", Text(tree.Path(u"texts/find.txt")),
           "--replace-file", Text(tree.Path(u"texts/replace.txt")), "--output-cp", "65001"}),
      kExitFinished)
      << console.err;
  // The replacement takes each file's own line breaks; its UTF-8 comes through whole.
  EXPECT_EQ(Content(u"doc.txt"), "\xC3\xA9tape 1\r\nstep 2\r\ngamma\r\n");
  EXPECT_EQ(Content(u"lf.txt"), "\xC3\xA9tape 1\nstep 2\ngamma\n");

  tree.MakeFile(u"texts/bad.txt", "caf\xE9");
  console = ScriptedConsole();
  EXPECT_EQ(Run({"--action", "find", "--find-file", Text(tree.Path(u"texts/bad.txt"))}),
            kExitRefused);
  EXPECT_EQ(console.err,
            Text(FormatString(IDS_CLI_ERROR, {FormatString(IDS_CLI_TEXT_FILE_NOT_UTF8,
                                                           {tree.Path(u"texts/bad.txt")})})) +
                "\n");
  console = ScriptedConsole();
  EXPECT_EQ(Run({"--action", "find", "--find-file", Text(tree.Path(u"texts/none.txt"))}),
            kExitRefused);
  EXPECT_THAT(console.err, HasSubstr("none.txt"));
  EXPECT_THAT(console.out, IsEmpty());
}

TEST_F(CliSession, FileLimitEndsTheRunAsFinished) {
  for (char name = 'a'; name <= 'e'; ++name)
    tree.MakeFile(std::u16string(1, name) + u".txt", "x");
  EXPECT_EQ(Run({"--find", "x", "--action", "find", "--max-files", "2", "--json"}), kExitFinished);
  const std::vector<std::string> lines = Lines(console.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(nlohmann::json::parse(lines[2])["found"], 2);
}

TEST_F(CliSession, CtrlCStopsTheRunAndReportsWhatWasFound) {
  for (char name = 'a'; name <= 'e'; ++name)
    tree.MakeFile(std::u16string(1, name) + u".txt", "x");
  console.interrupted = true;
  EXPECT_EQ(Run({"--find", "x", "--replace", "y"}), kExitInterrupted);
  EXPECT_THAT(Lines(console.out).back(), StartsWith("Found files: "));

  // Ctrl+C at a question ends the question and the run.
  tree.MakeFile(u"a.txt", "x x");
  console = ScriptedConsole();
  console.terminal = true;
  console.interruptOnRead = true;
  EXPECT_EQ(Run({"--mask", "a.txt", "--find", "x", "--replace", "y", "--confirm"}),
            kExitInterrupted);
  EXPECT_EQ(console.reads, 1);
  EXPECT_EQ(Content(u"a.txt"), "x x");
}

TEST_F(CliSession, HelpPrintsUsageAndExitsZero) {
  EXPECT_EQ(CliMain({"--help"}, console), kExitFinished);
  EXPECT_THAT(console.out, HasSubstr("--find-file"));
  EXPECT_EQ(CliMain({"--path"}, console), kExitRefused);
  EXPECT_THAT(console.err, StartsWith(Text(FormatString(IDS_CLI_ERROR, {u""}))));
}

}  // namespace

TEST_F(CliSession, PreviewPrintsTheChangesAndChangesNothing) {
  std::u16string here;
  ASSERT_TRUE(platform::MakeAbsolutePath(u".", here));
  const std::string a = Text(RelativePath(tree.Path(u"a.txt"), here));
  const std::string old = Text(RelativePath(tree.Path(u"old.txt"), here));
  tree.MakeFile(u"a.txt", "keep\nold line\nkeep");
  tree.MakeFile(u"old.txt", "-");
  tree.MakeFile(u"w.txt", std::string("o\0l\0d\0", 6));  // UTF-16LE "old"
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"--mask", "a.txt", "--find", "old", "--replace", "new", "-U", "0"},
       {"--- a/" + a, "+++ b/" + a, "@@ -2 +2 @@", "-old line", "+new line", "Found files: 1"}},
      {{"--mask", "w.txt", "--find", "old", "--replace", "new", "--input-cp", "-1"},
       {"--- a/" + Text(RelativePath(tree.Path(u"w.txt"), here)) +
            "\t(shown as UTF-8, decoded from code page -1; not for patch)",
        "+++ b/" + Text(RelativePath(tree.Path(u"w.txt"), here)) +
            "\t(shown as UTF-8, decoded from code page -1; not for patch)",
        "@@ -1 +1 @@", "-old", "\\ No newline at end of file", "+new",
        "\\ No newline at end of file", "Found files: 1"}},
      // A name taken fails as the move would: an error, nothing listed.
      {{"--mask", "old.txt", "--find", "old", "--replace", "a", "--rename"}, {"Found files: 0"}},
      {{"--mask", "old.txt", "--find", "old", "--replace", "b", "--rename"},
       {old + " -> " + Text(RelativePath(tree.Path(u"b.txt"), here)), "Found files: 1"}},
      {{"--mask", "old.txt", "--find", "", "--action", "delete", "--rename", "--yes"},
       {old + " -> recycle bin", "Found files: 1"}},
  };
  for (const Case& c : cases) {
    console = ScriptedConsole();
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back("--preview");
    Run(arguments);
    std::vector<std::string> lines = Lines(console.out);
    EXPECT_EQ(lines, c.lines) << console.err;
  }
  EXPECT_EQ(Content(u"a.txt"), "keep\nold line\nkeep");
  EXPECT_EQ(Content(u"old.txt"), "-");

  console = ScriptedConsole();
  EXPECT_EQ(Run({"--mask", "a.txt", "--find", "old", "--replace", "new", "--preview", "--json",
                 "-U", "1"}),
            kExitFinished);
  const nlohmann::json file = nlohmann::json::parse(Lines(console.out)[0]);
  EXPECT_EQ(file["preview"],
            nlohmann::json::parse(R"({"patchable":true,"hunks":[{"oldStart":1,"oldLines":3,)"
                                  R"("newStart":1,"newLines":3,"lines":[" keep\n","-old line\n",)"
                                  R"("+new line\n"," keep"]}]})"));
}
