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

}  // namespace
