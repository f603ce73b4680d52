#include "platform/directory_identity.h"

#include <gtest/gtest.h>

#include "tests/support/temp_tree.h"

namespace {

TEST(DirectoryIdentity, SameFolderByAnyPathAndLinkOtherFoldersDiffer) {
  TempTree tree;
  tree.MakeFolder(u"a/inner");
  tree.MakeFolder(u"b");
  platform::DirectoryIdentity a, viaParent, b;
  ASSERT_TRUE(platform::GetDirectoryIdentity(tree.Path(u"a"), a));
  ASSERT_TRUE(platform::GetDirectoryIdentity(tree.Path(u"a/inner/.."), viaParent));
  ASSERT_TRUE(platform::GetDirectoryIdentity(tree.Path(u"b"), b));
  EXPECT_EQ(a, viaParent);
  EXPECT_NE(a, b);

  if (tree.MakeFolderLink(u"a", u"link")) {
    platform::DirectoryIdentity link;
    ASSERT_TRUE(platform::GetDirectoryIdentity(tree.Path(u"link"), link));
    EXPECT_EQ(link, a);
  }
  platform::DirectoryIdentity missing;
  EXPECT_FALSE(platform::GetDirectoryIdentity(tree.Path(u"missing"), missing));
}

// Network file systems give 0 for every folder; ReFS ids differ in their upper 64 bits alone.
TEST(DirectoryIdentity, AZeroIdIsUnknownAndAllOf128BitsCount) {
  platform::DirectoryIdentity zero, low, high;
  EXPECT_FALSE(platform::MakeDirectoryIdentity(7, 0, 0, zero));
  ASSERT_TRUE(platform::MakeDirectoryIdentity(7, 1, 0, low));
  ASSERT_TRUE(platform::MakeDirectoryIdentity(7, 1, 2, high));
  EXPECT_NE(low, high);
}

}  // namespace
