// The window's preview: applying it changes what a direct run changes, over the ticked files
// only, and nothing that changed since the preview.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "platform/string_table.h"
#include "run/standard_run_checks.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"

namespace fs = std::filesystem;

namespace {

using Snapshot = TreeSnapshot;

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {"ab", "x", "find", "FIND", " ", "\t", "b"};
  static const char* const kBreaks[] = {"\r\n", "\n", "\r"};
  std::string text;
  for (int line = static_cast<int>(random() % 8); line > 0; --line) {
    for (int piece = static_cast<int>(random() % 5); piece > 0; --piece)
      text += kPieces[random() % 7];
    text += kBreaks[random() % 3];
  }
  return text;
}

// Two equal random trees: one previewed and applied, the other changed by a direct run.
struct Trees {
  explicit Trees(std::mt19937& random) {
    for (RunHarness* run : {&previewed, &direct}) {
      run->settings.makeBackup = 0;
      run->controller.SetChecks(StandardRunChecks(program));
    }
    for (TempTree* tree : {&a, &b})
      tree->MakeFolder(u"sub");
    for (int file = 0; file < 6; ++file) {
      const std::u16string name =
          (file % 2 ? u"sub/f" : u"f") + std::u16string(1, char16_t(u'0' + file)) + u".txt";
      const std::string text = RandomText(random) + "find ab";
      a.MakeFile(name, text);
      b.MakeFile(name, text);
    }
  }
  static RunFields Fields(const TempTree& tree, ActionType action, std::u16string find) {
    RunFields fields = FieldsFor(tree.root(), u"*.txt");
    fields.action = action;
    fields.findText = std::move(find);
    fields.replaceText = u"Q\n";
    return fields;
  }
  // Previews tree a, unticks the rows `untick` chooses, calls beforeApply, and applies; then
  // makes the direct run over tree b.
  void PreviewApplyAndRun(const RunFields& fields, const std::function<bool(size_t)>& untick,
                          const std::function<void()>& beforeApply = nullptr) {
    const Snapshot before = SnapshotOf(fs::path(a.root()));
    previewed.controller.OnPreview(fields);
    ASSERT_TRUE(previewed.WaitUntilIdle());
    ASSERT_TRUE(previewed.controller.previewShown());
    EXPECT_EQ(SnapshotOf(fs::path(a.root())), before) << "the preview changed files";
    const auto& results = previewed.controller.results();
    EXPECT_FALSE(results.empty());
    for (size_t i = 0; i < results.size(); ++i) {
      // A row keeps what its details show, not the file's bytes.
      ASSERT_TRUE(results[i]->preview);
      EXPECT_TRUE(results[i]->preview->before.empty() && results[i]->preview->after.empty());
      EXPECT_TRUE(previewed.controller.IsTicked(i));
      if (untick(i))
        previewed.controller.SetTicked(i, false);
    }
    if (beforeApply)
      beforeApply();
    previewed.controller.OnApply();
    ASSERT_TRUE(previewed.WaitUntilIdle());
    EXPECT_FALSE(previewed.controller.previewShown());
    RunFields run = fields;
    run.searchPaths = b.root();
    ASSERT_TRUE(direct.Run(run));
  }

  TempTree a, b;
  RegexProgram program;
  RunHarness previewed, direct;
};

TEST(WindowPreview, ApplyingEveryRowGivesTheBytesOfADirectRun) {
  struct Case {
    ActionType action;
    const char16_t* find;
    bool regex, renameMode;
  };
  const Case cases[] = {
      {ActionType::Replace, u"find", false, false},    {ActionType::Delete, u"ab", false, false},
      {ActionType::PlaceAfter, u"b", false, false},    {ActionType::Replace, u"a?b+", true, false},
      {ActionType::AddToBeginning, u"", false, false}, {ActionType::Replace, u"f", false, true}};
  std::mt19937 random(24);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.action) << " " << c.regex);
    Trees trees(random);
    const Snapshot original = SnapshotOf(fs::path(trees.a.root()));
    RunFields fields = Trees::Fields(trees.a, c.action, c.find);
    fields.useRegex = c.regex;
    fields.renameMode = c.renameMode;
    if (c.renameMode)
      fields.replaceText = u"g";
    trees.PreviewApplyAndRun(fields, [](size_t) { return false; });
    const Snapshot applied = SnapshotOf(fs::path(trees.a.root()));
    EXPECT_EQ(applied, SnapshotOf(fs::path(trees.b.root())));
    EXPECT_NE(applied, original);
  }
}

TEST(WindowPreview, OnlyTheTickedFilesChange) {
  std::mt19937 random(7);
  Trees trees(random);
  const fs::path root(trees.a.root());
  const Snapshot original = SnapshotOf(root);
  std::vector<fs::path> unticked;
  trees.PreviewApplyAndRun(Trees::Fields(trees.a, ActionType::Replace, u"find"), [&](size_t i) {
    if (i % 2)
      return false;
    unticked.push_back(
        fs::relative(fs::path(FullPathOf(*trees.previewed.controller.results()[i])), root));
    return true;
  });
  const Snapshot applied = SnapshotOf(root), run = SnapshotOf(fs::path(trees.b.root()));
  ASSERT_EQ(applied.size(), 6u);
  for (const auto& [path, bytes] : applied) {
    const bool untickedFile = std::find(unticked.begin(), unticked.end(), path) != unticked.end();
    EXPECT_EQ(bytes, untickedFile ? original.at(path) : run.at(path)) << path;
  }
  EXPECT_EQ(unticked.size(), 3u);
  EXPECT_EQ(trees.previewed.view.rows.size(), 3u);
}

TEST(WindowPreview, AFileChangedSinceThePreviewIsLeftWithItsReason) {
  std::mt19937 random(3);
  Trees trees(random);
  const fs::path root(trees.a.root());
  const fs::path sameSize = root / "f0.txt", grown = root / "f2.txt";
  const std::string changedText = "the user's own edit";
  trees.PreviewApplyAndRun(
      Trees::Fields(trees.a, ActionType::Replace, u"find"), [](size_t) { return false; },
      [&] {
        // The same size and time as before: only the content's hash tells.
        const auto time = fs::last_write_time(sameSize);
        std::string edited = SnapshotOf(root).at("f0.txt");
        edited[0] = edited[0] == 'Z' ? 'Y' : 'Z';
        Write(sameSize, edited);
        fs::last_write_time(sameSize, time);
        Write(grown, changedText);
      });
  const Snapshot applied = SnapshotOf(root), run = SnapshotOf(fs::path(trees.b.root()));
  EXPECT_EQ(applied.at("f2.txt"), changedText);
  EXPECT_EQ(applied.at("f0.txt").find('Q'), std::string::npos);
  EXPECT_EQ(applied.at("f4.txt"), run.at("f4.txt"));
  int left = 0;
  for (const auto& result : trees.previewed.controller.results())
    left += result->resultText == platform::LoadText(IDS_CHANGED_SINCE_PREVIEW);
  EXPECT_EQ(left, 2);
}

}  // namespace
