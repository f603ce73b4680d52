#include "ui/editor_command.h"

#include <gtest/gtest.h>

TEST(ExpandEditorCommand, QuotesThePathOnceAndNeverExpandsItsPercents) {
  struct Case {
    std::u16string command;
    std::u16string path;
    std::u16string expanded;
  };
  const Case cases[] = {
      {u"ed.exe %path%", u"C:\\a b\\c.txt", u"ed.exe \"C:\\a b\\c.txt\""},
      {u"ed.exe \"%path%\" +%line%", u"C:\\a b\\c.txt", u"ed.exe \"C:\\a b\\c.txt\" +12"},
      {u"code --goto \"%PATH%:%Line%:%column%\"", u"C:\\x.txt", u"code --goto \"C:\\x.txt:12:5\""},
      {u"ed.exe %path%", u"C:\\100%line%\\x.txt", u"ed.exe \"C:\\100%line%\\x.txt\""},
      {u"ed.exe 50%% %path% %other%", u"C:\\x", u"ed.exe 50% \"C:\\x\" %other%"},
      {u"ed.exe %path% %", u"C:\\x", u"ed.exe \"C:\\x\" %"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandEditorCommand(c.command, c.path, 12, 5), c.expanded);
}

TEST(InstalledEditors, OnlyEditorsWhoseProgramExistsEachOnce) {
  const EditorFolders folders{u"C:\\Windows", u"C:\\PF", u"C:\\PF86", u""};
  auto installed = InstalledEditors(folders, [](const std::u16string& program) {
    return program == u"C:\\PF86\\Notepad++\\notepad++.exe" ||
           program == u"C:\\PF\\Microsoft VS Code\\Code.exe" ||
           program == u"C:\\PF86\\Microsoft VS Code\\Code.exe";
  });
  ASSERT_EQ(installed.size(), 2u);
  EXPECT_EQ(installed[0].command, u"\"C:\\PF86\\Notepad++\\notepad++.exe\" -n%line% -c%column% %path%");
  EXPECT_EQ(installed[1].command, u"\"C:\\PF\\Microsoft VS Code\\Code.exe\" --goto \"%path%:%line%:%column%\"");
}
