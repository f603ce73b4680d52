#include "platform/directory_listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/temp_tree.h"

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

// Every name the listing of the pattern gives, or the error it fails with.
std::vector<std::u16string> List(const std::u16string& pattern,
                                 platform::ErrorCode* openError = nullptr,
                                 platform::ListingNeed need = platform::ListingNeed::Everything) {
  std::vector<std::u16string> names;
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (!listing.Open(pattern, error, need)) {
    if (openError)
      *openError = error;
    return names;
  }
  do
    names.push_back(listing.name());
  while (listing.Next(error));
  EXPECT_EQ(error, platform::kErrorNoMoreFiles);
  return names;
}

std::vector<std::u16string> WithoutDots(std::vector<std::u16string> names) {
  std::erase_if(names, [](const std::u16string& n) { return n == u"." || n == u".."; });
  return names;
}

class DirectoryListingTest : public ::testing::Test {
 protected:
  DirectoryListingTest() {
    for (const char16_t* name : {u"a.TXT", u"b.txt", u"c.dat", u"README", u"ab.txt"})
      tree.MakeFile(name);
    tree.MakeFolder(u"sub");
  }
  TempTree tree;
};

TEST_F(DirectoryListingTest, WildcardsMatchWithoutRegardToCase) {
  EXPECT_THAT(List(tree.Path(u"*.txt")), UnorderedElementsAre(u"a.TXT", u"b.txt", u"ab.txt"));
  EXPECT_THAT(List(tree.Path(u"?.TXT")), UnorderedElementsAre(u"a.TXT", u"b.txt"));
  EXPECT_THAT(List(tree.Path(u"A*")), UnorderedElementsAre(u"a.TXT", u"ab.txt"));
  EXPECT_THAT(List(tree.Path(u"readme")), ElementsAre(u"README"));
}

TEST_F(DirectoryListingTest, StarDotStarAndStarListEverythingWithTheDotEntriesFirst) {
  const auto all = UnorderedElementsAre(u"a.TXT", u"b.txt", u"c.dat", u"README", u"ab.txt", u"sub");
  std::vector<std::u16string> names = List(tree.Path(u"*.*"));
  EXPECT_THAT(WithoutDots(names), all);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], u".");
  EXPECT_EQ(names[1], u"..");
  EXPECT_THAT(WithoutDots(List(tree.Path(u"*"))), all);
}

TEST_F(DirectoryListingTest, AListingOfFoldersKeepsEveryFolderAndTheDotEntries) {
  tree.MakeFolder(u"Another.dir");
  const std::vector<std::u16string> names =
      List(tree.Path(u"*"), nullptr, platform::ListingNeed::Folders);
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], u".");
  EXPECT_EQ(names[1], u"..");
  EXPECT_NE(std::find(names.begin(), names.end(), u"sub"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), u"Another.dir"), names.end());
#ifndef _WIN32
  // The directory entries tell the files apart here; a link to a folder stays.
  ASSERT_TRUE(tree.MakeFolderLink(u"sub", u"link"));
  EXPECT_THAT(WithoutDots(List(tree.Path(u"*"), nullptr, platform::ListingNeed::Folders)),
              ElementsAre(u"Another.dir", u"link", u"sub"));
#endif
}

// Windows' own listing also matches short 8.3 names: "*.htm" would list "page.html".
TEST_F(DirectoryListingTest, MasksMatchTheLongNamesOnly) {
  tree.MakeFile(u"page.html");
  tree.MakeFile(u"notes.txt1");
  platform::ErrorCode error = 0;
  EXPECT_TRUE(List(tree.Path(u"*.htm"), &error).empty());
  EXPECT_EQ(error, platform::kErrorFileNotFound);
  EXPECT_THAT(List(tree.Path(u"*.txt")), UnorderedElementsAre(u"a.TXT", u"b.txt", u"ab.txt"));
}

TEST_F(DirectoryListingTest, FilesMadeWhileListingDoNotShow) {
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(listing.Open(tree.Path(u"*.txt"), error));
  tree.MakeFile(u"zz.txt");
  std::vector<std::u16string> names;
  do
    names.push_back(listing.name());
  while (listing.Next(error));
  EXPECT_THAT(names, UnorderedElementsAre(u"a.TXT", u"b.txt", u"ab.txt"));
}

TEST_F(DirectoryListingTest, NoMatchIsFileNotFound) {
  platform::ErrorCode error = 0;
  EXPECT_TRUE(List(tree.Path(u"*.none"), &error).empty());
  EXPECT_EQ(error, platform::kErrorFileNotFound);
}

TEST_F(DirectoryListingTest, MissingFolderFails) {
  platform::ErrorCode error = 0;
  EXPECT_TRUE(List(tree.Path(u"missing/*"), &error).empty());
  EXPECT_NE(error, 0u);
}

TEST_F(DirectoryListingTest, SizeAndTimeOfTheCurrentEntry) {
  tree.MakeFile(u"sub/five.bin", "12345");
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(listing.Open(tree.Path(u"sub/*.bin"), error));
  EXPECT_EQ(listing.name(), u"five.bin");
  EXPECT_EQ(listing.size(), 5u);
  CalendarTime time = listing.modified();
  EXPECT_GE(time.year, 2020);
  EXPECT_TRUE(time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= 31);
  EXPECT_LE(time.dayOfWeek, 6);
  EXPECT_FALSE(listing.Next(error));
  EXPECT_EQ(error, platform::kErrorNoMoreFiles);
}

#ifndef _WIN32
TEST_F(DirectoryListingTest, NamesComeInCaseInsensitiveOrder) {
  EXPECT_THAT(List(tree.Path(u"*")),
              ElementsAre(u".", u"..", u"a.TXT", u"ab.txt", u"b.txt", u"c.dat", u"README", u"sub"));
}
#endif

}  // namespace
