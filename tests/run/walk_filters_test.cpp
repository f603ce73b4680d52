// What the walk passes over: exclusions by name, by path and for folders only, and the size and
// date limits, with the summary that counts them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "platform/string_table.h"
#include "run/file_limit_checks.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"

using ::testing::UnorderedElementsAreArray;

namespace {

class WalkFilters : public ::testing::Test {
 protected:
  void SetUp() override {
    run.RecordFiles(true);
    for (const char16_t* file : kFiles)
      tree.MakeFile(file);
    run.controller.worker().SetListingObserver([this](const std::u16string& pattern) {
      const std::lock_guard lock(listingsMutex);
      listings.push_back(tree.Relative(pattern));
    });
  }

  bool Walk(const std::u16string& exclusions) {
    RunFields fields = FieldsFor(u"\"" + tree.root() + u"\"", u"*.*");
    fields.exclusions = exclusions;
    listings.clear();
    return run.Run(fields);
  }

  static constexpr const char16_t* kFiles[] = {
      u"a.txt",           u"lib.min.js",          u".git/config.txt",
      u"node_modules/p/index.js", u"bin/Debug/out.txt", u"bin/Release/out.txt",
      u"docs/page.html",  u"docs/deep/inner.html", u"src/bin"};

  TempTree tree;
  RunHarness run;
  std::mutex listingsMutex;
  std::vector<std::u16string> listings;
};

TEST_F(WalkFilters, ExclusionsTakeNamesPathsAndFoldersAndExcludedFoldersAreNeverListed) {
  const std::u16string preset = platform::LoadText(IDS_EXCLUDE_PRESET);
  struct Case {
    std::u16string exclusions;
    std::vector<std::u16string> left;     // files still processed, besides a.txt and docs/*
    int excluded;                         // entries reported as excluded
    std::vector<std::u16string> unlisted;  // folders whose listing must never open
  } cases[] = {
      {u"", {u"lib.min.js", u".git/config.txt", u"node_modules/p/index.js",
             u"bin/Debug/out.txt", u"bin/Release/out.txt", u"src/bin"}, 0, {}},
      {u".git, NODE_MODULES", {u"lib.min.js", u"bin/Debug/out.txt", u"bin/Release/out.txt",
                               u"src/bin"}, 2, {u".git", u"node_modules"}},
      {u"*.min.js", {u".git/config.txt", u"node_modules/p/index.js", u"bin/Debug/out.txt",
                     u"bin/Release/out.txt", u"src/bin"}, 1, {}},
      {u"bin\\Debug", {u"lib.min.js", u".git/config.txt", u"node_modules/p/index.js",
                       u"bin/Release/out.txt", u"src/bin"}, 1, {u"bin/Debug"}},
      {u"bin/", {u"lib.min.js", u".git/config.txt", u"node_modules/p/index.js", u"src/bin"}, 1,
       {u"bin"}},
      {u"bin", {u"lib.min.js", u".git/config.txt", u"node_modules/p/index.js"}, 2, {u"bin"}},
      {preset, {u"lib.min.js", u"src/bin"}, 3, {u".git", u"node_modules", u"bin"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "exclusions: " << std::string(c.exclusions.begin(),
                                                                      c.exclusions.end()));
    ASSERT_TRUE(Walk(c.exclusions));
    std::vector<std::u16string> expected = c.left;
    expected.insert(expected.end(), {u"a.txt", u"docs/page.html", u"docs/deep/inner.html"});
    EXPECT_THAT(tree.Relative(run.processed.paths), UnorderedElementsAreArray(expected));
    run.processed.paths.clear();
    EXPECT_EQ(run.controller.skipCounts()[SkipReason::Excluded], c.excluded);
    for (const std::u16string& folder : c.unlisted) {
      EXPECT_FALSE(std::any_of(listings.begin(), listings.end(), [&](const std::u16string& p) {
        return p.starts_with(folder + u"/");
      })) << "a listing opened in an excluded folder";
    }
  }
  ASSERT_TRUE(Walk(u"DOCS\\*.HTML"));
  EXPECT_EQ(std::count(run.processed.paths.begin(), run.processed.paths.end(),
                       tree.Path(u"docs/deep/inner.html")),
            1)
      << "a path item takes only its own depth";
  EXPECT_EQ(run.view.status(), u"Found files: 8; skipped: 1 excluded");
}

TEST_F(WalkFilters, UnparsableExclusionsRefuseTheRun) {
  ASSERT_TRUE(Walk(u"a,,b"));
  ASSERT_EQ(run.prompt.shown.size(), 1u);
  EXPECT_EQ(run.prompt.shown[0].text, u"Unable to parse exclusions. Check the syntax.");
  EXPECT_TRUE(run.processed.paths.empty());
}

}  // namespace

TEST(FileLimits, SizesAndDatesAtTheirEdges) {
  CalendarTime noon{2024, 5, 0, 31, 12, 0, 0, 0};
  FileLimits limits;
  ASSERT_TRUE(ParseSizeLimit(u" 2k ", limits.minSize));
  ASSERT_TRUE(ParseSizeLimit(u"1M", limits.maxSize));
  ASSERT_TRUE(ParseDateLimit(u"2024-05-31", noon, limits.newer));
  ASSERT_TRUE(ParseDateLimit(u"2d", noon, limits.older));
  EXPECT_EQ(*limits.older, *limits.newer + 12 * 3600 - 2 * 86400) << "an age counts from now";
  ASSERT_TRUE(ParseDateLimit(u"2024-06-01T00:00", noon, limits.older));
  const CalendarTime inside{2024, 5, 0, 31, 0, 0, 0, 0};
  const CalendarTime lastSecond{2024, 5, 0, 31, 23, 59, 59, 999};
  const CalendarTime before{2024, 5, 0, 30, 23, 59, 59, 0};
  const CalendarTime after{2024, 6, 0, 1, 0, 0, 0, 0};
  struct Case {
    std::uint64_t size;
    CalendarTime modified;
    LimitCheck expected;
  } cases[] = {{2048, inside, LimitCheck::Inside},     {2047, inside, LimitCheck::Size},
               {1 << 20, lastSecond, LimitCheck::Inside}, {(1 << 20) + 1, inside, LimitCheck::Size},
               {4096, before, LimitCheck::Date},        {4096, after, LimitCheck::Date}};
  for (const Case& c : cases)
    EXPECT_EQ(CheckFileLimits(limits, c.size, c.modified), c.expected) << c.size;

  std::optional<std::uint64_t> size;
  for (const char16_t* bad : {u"10X", u"K", u"-1", u"1.5M", u"99999999999G", u"1 K"})
    EXPECT_FALSE(ParseSizeLimit(bad, size)) << std::u16string_view(bad).size();
  std::optional<std::int64_t> date;
  for (const char16_t* bad : {u"2024-13-01", u"2023-02-29", u"2024-5-31", u"2024-05-31T24:00",
                              u"7", u"7y", u"d", u"2024-05-31T12"})
    EXPECT_FALSE(ParseDateLimit(bad, noon, date)) << std::u16string_view(bad).size();
  EXPECT_TRUE(ParseDateLimit(u"2024-02-29 23:59:59", noon, date));
  EXPECT_TRUE(ParseSizeLimit(u"", size));
  EXPECT_FALSE(size.has_value()) << "empty is no limit";
}

TEST(FileLimits, FilesOutsideTheLimitsArePassedOverAndCounted) {
  TempTree tree;
  RunHarness run;
  run.RecordFiles(true);
  tree.MakeFile(u"small.txt", "12");
  tree.MakeFile(u"big.txt", "1234567");
  tree.MakeFile(u"right.txt", "12345");
  run.settings.minFileSize = u"3";
  run.settings.maxFileSize = u"5";
  ASSERT_TRUE(run.Run(FieldsFor(u"\"" + tree.root() + u"\"", u"*.txt")));
  EXPECT_THAT(tree.Relative(run.processed.paths), UnorderedElementsAreArray({u"right.txt"}));
  EXPECT_EQ(run.view.status(), u"Found files: 1; skipped: 2 by size");

  run.settings.maxFileSize = u"";
  run.settings.modifiedBefore = u"1h";  // everything here is newer
  ASSERT_TRUE(run.Run(FieldsFor(u"\"" + tree.root() + u"\"", u"*.txt")));
  EXPECT_EQ(run.view.status(), u"Found files: 0; skipped: 1 by size, 2 by date");

  run.settings.modifiedBefore = u"yesterday";
  ASSERT_TRUE(run.Run(FieldsFor(u"\"" + tree.root() + u"\"", u"*.txt")));
  ASSERT_EQ(run.prompt.shown.size(), 1u);
  EXPECT_EQ(run.prompt.shown[0].text.substr(0, 24), u"Not a date: \"yesterday\".");
}
