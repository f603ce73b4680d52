// A preview's diff, applied to a copy of the tree, gives exactly the bytes the run writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "cli/cli_session.h"
#include "tests/cli/output_lines.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_tree.h"

namespace fs = std::filesystem;

namespace {

class QuietConsole : public Console {
 public:
  void Write(ConsoleStream stream, std::string_view utf8) override {
    (stream == ConsoleStream::Out ? out : err).append(utf8);
  }
  void Flush() override {}
  bool InputIsTerminal() const override { return false; }
  bool ReadLine(std::string&) override { return false; }
  bool Interrupted() const override { return false; }
  std::string out;
  std::string err;
};

using Snapshot = TreeSnapshot;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The lines of a text, each with its LF.
std::vector<std::string> SplitAfterLf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

// Applies the unified diff as `patch -p1` does in `root`, every context line checked; false
// on a mismatch.
bool ApplyDiff(const std::string& diff, const fs::path& root) {
  const std::vector<std::string> lines = SplitAfterLf(diff);
  for (size_t i = 0; i < lines.size();) {
    if (!lines[i].starts_with("--- a/")) {
      ++i;
      continue;
    }
    std::string name = lines[i + 1].substr(6);
    name = name.substr(0, name.find_first_of("\t\n"));
    i += 2;
    const fs::path path = root / fs::path(std::u8string(name.begin(), name.end()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::string> old =
        SplitAfterLf(std::string(std::istreambuf_iterator<char>(in), {}));
    in.close();
    std::string result;
    size_t at = 0;
    while (i < lines.size() && lines[i].starts_with("@@ -")) {
      // "@@ -start[,count] +start[,count] @@"
      size_t oldStart = 0, oldCount = 1, newStart = 0, newCount = 1;
      const std::string& header = lines[i++];
      if (std::sscanf(header.c_str(), "@@ -%zu,%zu +", &oldStart, &oldCount) != 2)
        std::sscanf(header.c_str(), "@@ -%zu +", &oldStart);
      const std::string added = header.substr(header.find(" +") + 2);
      if (std::sscanf(added.c_str(), "%zu,%zu", &newStart, &newCount) != 2)
        std::sscanf(added.c_str(), "%zu", &newStart);
      if (oldCount == 0)
        ++oldStart;  // an empty old range names the line before
      while (at + 1 < oldStart && at < old.size())
        result += old[at++];
      while (oldCount + newCount > 0 && i < lines.size()) {
        const char kind = lines[i][0];
        std::string text = lines[i++].substr(1);
        if (i < lines.size() && lines[i].starts_with("\\")) {
          text.pop_back();  // "\ No newline at end of file" follows the line it is about
          ++i;
        }
        if (kind != '+' && (oldCount-- == 0 || at >= old.size() || old[at++] != text))
          return false;
        if (kind != '-' && newCount-- > 0)
          result += text;
      }
    }
    while (at < old.size())
      result += old[at++];
    std::ofstream(path, std::ios::binary | std::ios::trunc) << result;
  }
  return true;
}

class CurrentDirectory {
 public:
  explicit CurrentDirectory(const fs::path& path) : old_(fs::current_path()) {
    fs::current_path(path);
  }
  ~CurrentDirectory() { fs::current_path(old_); }

 private:
  fs::path old_;
};

struct Outcome {
  int status = 0;
  std::string out;
};

Outcome Run(const fs::path& root, std::vector<std::string> arguments) {
  const CurrentDirectory here(root);
  arguments.insert(arguments.begin(), {"--path", Utf8(root), "--yes", "--color", "always"});
  QuietConsole console;
  const int status = CliMain(arguments, console);
  return {status, console.out};
}

// The last line: the summary.
std::string Summary(const std::string& out) {
  const std::vector<std::string> lines = Lines(out);
  return lines.empty() ? std::string() : lines.back();
}

std::string Uncolored(std::string text) {
  for (size_t at; (at = text.find('\x1b')) != std::string::npos;)
    text.erase(at, text.find('m', at) - at + 1);
  return text;
}

// Copies the tree's content into an existing folder, one entry at a time: the mingw library
// refuses a recursive copy onto a folder that exists.
void CopyTreeInto(const fs::path& from, const fs::path& to) {
  for (const fs::directory_entry& entry : fs::directory_iterator(from))
    fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
}

// Previews, applies the diff to a copy, runs for real, and compares; whether there was a diff.
bool ExpectPreviewEqualsRun(const fs::path& root, const std::vector<std::string>& arguments) {
  const Snapshot before = SnapshotOf(root);
  std::vector<std::string> previewArguments = arguments;
  previewArguments.push_back("--preview");
  const Outcome preview = Run(root, previewArguments);
  EXPECT_EQ(SnapshotOf(root), before) << "the preview changed files";
  const std::string diff = Uncolored(preview.out);

  TempTree copy;
  CopyTreeInto(root, fs::path(copy.root()));
  EXPECT_TRUE(ApplyDiff(diff, fs::path(copy.root()))) << diff;
  const Outcome run = Run(root, arguments);
  EXPECT_EQ(preview.status, run.status);
  EXPECT_EQ(Summary(preview.out), Summary(run.out));
  EXPECT_EQ(SnapshotOf(fs::path(copy.root())), SnapshotOf(root)) << diff;

#ifndef _WIN32
  const bool changes = diff.find("--- a/") != std::string::npos;
  EXPECT_EQ(diff.find("not for patch"), std::string::npos);
  if (!changes || !fs::exists("/usr/bin/patch"))
    return changes;
  TempTree patched;
  CopyTreeInto(fs::path(copy.root()), fs::path(patched.root()));
  // The copy holds the result already: patch it back from the original instead.
  for (const auto& [path, bytes] : before)
    std::ofstream(fs::path(patched.root()) / path, std::ios::binary | std::ios::trunc) << bytes;
  // Beside the trees, under a name of this test's own: tests run side by side.
  const fs::path diffFile = fs::path(Utf8(fs::path(copy.root())) + ".diff");
  std::ofstream(diffFile, std::ios::binary) << diff;
  const ChildResult applied =
      RunChild(u"/usr/bin/patch",
               {"-p1", "-s", "-d", Utf8(fs::path(patched.root())), "-i", Utf8(diffFile)});
  fs::remove(diffFile);
  EXPECT_EQ(applied.exitStatus, 0) << applied.out << applied.err;
  EXPECT_EQ(SnapshotOf(fs::path(patched.root())), SnapshotOf(root)) << diff;
  return true;
#else
  return diff.find("--- a/") != std::string::npos;
#endif
}

// Lines of pieces that the find texts match, UTF-8 "é" among them, with every kind of line break.
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {"ab", "abc", "x", "find", "FIND", " ", "\t", "b"};
  static const char* const kBreaks[] = {"\r\n", "\n", "\r"};
  std::string text;
  const int lines = static_cast<int>(random() % 12);
  for (int line = 0; line < lines; ++line) {
    for (int piece = static_cast<int>(random() % 6); piece > 0; --piece)
      text += random() % 12 == 0 ? "\xC3\xA9" : kPieces[random() % 8];
    if (line + 1 < lines || random() % 2)
      text += kBreaks[random() % 3];
  }
  return text;
}

TEST(PreviewEqualsRun, RandomTreesEveryActionLineBreakAndCodePage) {
#ifdef _WIN32
  constexpr int kRounds = 12;
#else
  constexpr int kRounds = 80;
#endif
  static const char* const kActions[] = {"replace", "find",  "delete", "before",
                                         "after",   "begin", "end"};
  static const char* const kNewLines[] = {"crlf", "lf", "cr", "file"};
  static const char* const kCodePages[] = {"1252", "65001", "850"};
  static const char* const kFinds[] = {"ab", "find", "b\nx", "x", "a[bc]+", ""};
  // "é" stays UTF-8 only when written in UTF-8.
  static const char* const kReplacements[] = {"Q", "zz\ny", "ab", "\xC3\xA9"};
  std::mt19937 random(2020);
  int changed = 0;
  for (int round = 0; round < kRounds; ++round) {
    TempTree tree;
    const char* codePage = kCodePages[random() % 3];
    const bool utf8 = std::string_view(codePage) == "65001";
    for (int file = static_cast<int>(random() % 6); file >= 0; --file) {
      const std::u16string folder = random() % 2 ? u"" : u"sub/";
      if (!folder.empty())
        tree.MakeFolder(u"sub");
      tree.MakeFile(folder + u"f" + std::u16string(1, char16_t(u'0' + file)) + u".txt",
                    RandomText(random));
    }
    std::vector<std::string> arguments = {
        "--find",     kFinds[random() % 6],        "--replace", kReplacements[random() % (utf8 ? 4 : 3)],
        "--action",   kActions[random() % 7],      "--newline", kNewLines[random() % 4],
        "--input-cp", codePage,                    "--output-cp", codePage,
        "-U",         std::to_string(random() % 4)};
    if (random() % 2)
      arguments.push_back("--case");
    if (random() % 3 == 0)
      arguments.push_back("--regex");
    SCOPED_TRACE(::testing::PrintToString(arguments));
    changed += ExpectPreviewEqualsRun(fs::path(tree.root()), arguments);
  }
  EXPECT_GT(changed, kRounds / 3);
}

#ifndef _WIN32
TEST(PreviewEqualsRun, ACopyOfThisSourceTree) {
  TempTree tree;
  for (const char* folder : {"processing", "cli", "run"})
    fs::copy(fs::path(VOXALON_SOURCE_DIR) / folder, fs::path(tree.root()) / folder,
             fs::copy_options::recursive);
  const std::vector<std::vector<std::string>> runs = {
      {"--mask", "*.cpp,*.h", "--find", "include", "--replace", "import"},
      {"--mask", "*.h", "--find", "#pragma once", "--replace", "// one\n", "--action", "after"},
      {"--mask", "*.cpp", "--find", "std::", "--action", "delete", "-U", "1"},
      {"--mask", "*.txt", "--find", "", "--replace", "# top\n", "--action", "begin"},
  };
  for (const std::vector<std::string>& arguments : runs) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_TRUE(ExpectPreviewEqualsRun(fs::path(tree.root()), arguments));
  }
}
#endif

}  // namespace
