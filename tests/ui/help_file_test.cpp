#include "ui/help_file.h"

#include <gtest/gtest.h>

#include <set>

TEST(HelpFolder, CurrentDirectoryFirstThenTheProgramsFolder) {
  const std::vector<std::u16string> folders{u"C:\\Work", u"C:\\Program Files\\Voxalon"};
  const struct {
    std::set<std::u16string> present;
    std::u16string folder;
  } cases[] = {
      {{u"C:\\Work\\VOXAHELP.chm", u"C:\\Program Files\\Voxalon\\VOXAHELP.chm"}, u"C:\\Work"},
      {{u"C:\\Program Files\\Voxalon\\VOXAHELP.chm"}, u"C:\\Program Files\\Voxalon"},
      {{}, u"C:\\Work"},
  };
  for (const auto& c : cases) {
    auto exists = [&](const std::u16string& path) { return c.present.count(path) != 0; };
    EXPECT_EQ(HelpFolder(folders, u"\\VOXAHELP.chm", exists), c.folder);
  }
  EXPECT_EQ(HelpFolder({u"", u"C:\\P"}, u"\\h.chm", [](const std::u16string&) { return true; }),
            u"C:\\P")
      << "an unknown current directory is passed over";
}
