#include "ui/result_open.h"

#include <gtest/gtest.h>

namespace {

constexpr std::u16string_view kPathExt =
    u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC;.PY";

TEST(ResultOpen, FilesThatWouldRunAreEditedOrOfferedToOpenWith) {
  struct Case {
    std::u16string_view name;
    std::u16string_view pathExt;
    bool hasEdit;
    ResultOpen expected;
  } cases[] = {
      {u"notes.txt", kPathExt, true, ResultOpen::Open},
      {u"Makefile", kPathExt, true, ResultOpen::Open},
      {u"archive.bat.txt", kPathExt, true, ResultOpen::Open},
      {u"run.bat", kPathExt, true, ResultOpen::Edit},
      {u"RUN.Cmd", kPathExt, false, ResultOpen::OpenWith},
      {u"tool.py", kPathExt, true, ResultOpen::Edit},    // from PATHEXT
      {u"tool.py", u"", true, ResultOpen::Open},         // not there
      {u"setup.exe", u"", false, ResultOpen::OpenWith},  // always, whatever PATHEXT says
      {u"a.js", u"", true, ResultOpen::Edit},
      {u"profile.ps1", u"", true, ResultOpen::Edit},
      {u"keys.reg", u"", true, ResultOpen::Edit},
      {u"page.hta", u"", false, ResultOpen::OpenWith},
      {u"Word.lnk", u"", false, ResultOpen::OpenWith},
      {u"x.vbs. ", u"", true, ResultOpen::Edit},  // the system drops trailing dots
      {u"dot.", kPathExt, true, ResultOpen::Open},
  };
  for (const Case& c : cases) {
    std::u16string asked;
    const ResultOpen got = ChooseResultOpen(c.name, c.pathExt, [&](const std::u16string& ext) {
      asked = ext;
      return c.hasEdit;
    });
    EXPECT_EQ(got, c.expected) << std::string(c.name.begin(), c.name.end());
    EXPECT_EQ(asked.empty(), c.expected == ResultOpen::Open);
  }
}

TEST(ResultOpen, ExplorerGetsTheSelectedPathQuoted) {
  EXPECT_EQ(ExplorerSelectParameters(u"C:\\a,b\\x.txt"), u"/e,/select,\"C:\\a,b\\x.txt\"");
}

}  // namespace
