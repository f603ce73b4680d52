#include "text/variables.h"

#include <gtest/gtest.h>

#include "platform/path_separator.h"
#include "run/record/file_result.h"

namespace {

CFileResult FileAt(std::u16string folder, std::u16string name) {
  CFileResult file;
  file.folder = std::move(folder);
  file.name = std::move(name);
  return file;
}

std::u16string Expanded(std::u16string text, const CFileResult* file, bool expectSuccess = true) {
  EXPECT_EQ(ExpandVariables(text, file), expectSuccess) << "result: " << text.size();
  return text;
}

TEST(ExpandVariables, NamesAreMatchedWithoutRegardToCase) {
  const CFileResult file = FileAt(u"C:\\w", u"a.txt");
  EXPECT_EQ(Expanded(u"%FileName%.bak", &file), u"a.txt.bak");
  EXPECT_EQ(Expanded(u"%filedirectory%", &file), u"C:\\w");
  EXPECT_EQ(Expanded(u"%FILEPATH%", &file),
            std::u16string(u"C:\\w") + platform::kPathSeparator + u"a.txt");
  EXPECT_EQ(Expanded(u"[%filename%|%filename%]", &file), u"[a.txt|a.txt]");
}

TEST(ExpandVariables, DoubledPercentIsOnePercentSign) {
  EXPECT_EQ(Expanded(u"100%%", nullptr), u"100%");
  EXPECT_EQ(Expanded(u"%%filename%%", nullptr), u"%filename%");
}

TEST(ExpandVariables, FailuresLeaveTheMessageInTheText) {
  EXPECT_EQ(Expanded(u"100%", nullptr, false), u"encountered unexpected '%' at the end of text");
  EXPECT_EQ(Expanded(u"%size%", nullptr, false), u"Unknown varable 'size'");
  EXPECT_EQ(Expanded(u"%SIZE%", nullptr, false), u"Unknown varable 'size'");
  EXPECT_EQ(Expanded(u"%%%", nullptr, false), u"encountered unexpected '%' at the end of text");
}

TEST(ExpandVariables, UnclosedNameIsDroppedWithoutError) {
  EXPECT_EQ(Expanded(u"abc%filename", nullptr), u"abc");
  EXPECT_EQ(Expanded(u"abc%", nullptr, false), u"encountered unexpected '%' at the end of text");
}

TEST(ExpandVariables, WithoutAFileEveryVariableIsEmpty) {
  EXPECT_EQ(Expanded(u"x%filename%y", nullptr), u"xy");
  EXPECT_EQ(Expanded(u"%filepath%%filedirectory%", nullptr), u"");
}

TEST(ExpandVariables, ValuesAreNotExpandedAgain) {
  const CFileResult file = FileAt(u"/w", u"100%%filename%.txt");
  EXPECT_EQ(Expanded(u"<%filename%>", &file), u"<100%%filename%.txt>");
}

}  // namespace
