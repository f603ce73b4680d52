#include "text/program_settings.h"

#include <gtest/gtest.h>

namespace {

void ExpectDefaults(const ProgramSettings& s) {
  EXPECT_EQ(s.searchHidden, 1);
  EXPECT_EQ(s.replaceReadOnly, 0);
  EXPECT_EQ(s.keepFileDate, 0);
  EXPECT_EQ(s.trimTrailingNewLines, 1);
  EXPECT_EQ(s.inputCodePage, 0);
  EXPECT_EQ(s.outputCodePage, 0);
  EXPECT_EQ(s.newLineMode, 3);
  EXPECT_EQ(s.regexMode, 1);
  EXPECT_EQ(s.maxFilesShown, 0);
  EXPECT_EQ(s.saveErrorLog, 0);
  EXPECT_EQ(s.makeBackup, 1);
  EXPECT_EQ(s.logDirectory, u"");
  EXPECT_EQ(s.backupDirectory, u"");
  EXPECT_EQ(s.logType, 1);
}

void FillNonDefaults(ProgramSettings& s) {
  s.searchHidden = 0;
  s.replaceReadOnly = 1;
  s.keepFileDate = 1;
  s.trimTrailingNewLines = 0;
  s.inputCodePage = -2;
  s.outputCodePage = 65001;
  s.newLineMode = 4;
  s.regexMode = 7;
  s.maxFilesShown = 25;
  s.saveErrorLog = 1;
  s.makeBackup = 0;
  s.logDirectory = u"C:\\logs";
  s.backupDirectory = u"C:\\backup";
  s.logType = 2;
}

}  // namespace

TEST(ProgramSettings, NewRecordHoldsTheDefaults) {
  ProgramSettings s;
  ExpectDefaults(s);
}

TEST(ProgramSettings, CopySettingsCopiesEveryFieldAndForcesRegexMode) {
  ProgramSettings source;
  FillNonDefaults(source);
  ProgramSettings copy;
  CopySettings(source, copy);
  EXPECT_EQ(copy.searchHidden, 0);
  EXPECT_EQ(copy.replaceReadOnly, 1);
  EXPECT_EQ(copy.keepFileDate, 1);
  EXPECT_EQ(copy.trimTrailingNewLines, 0);
  EXPECT_EQ(copy.inputCodePage, -2);
  EXPECT_EQ(copy.outputCodePage, 65001);
  EXPECT_EQ(copy.newLineMode, 4);
  EXPECT_EQ(copy.maxFilesShown, 25);
  EXPECT_EQ(copy.saveErrorLog, 1);
  EXPECT_EQ(copy.makeBackup, 0);
  EXPECT_EQ(copy.logDirectory, u"C:\\logs");
  EXPECT_EQ(copy.backupDirectory, u"C:\\backup");
  EXPECT_EQ(copy.logType, 2);
  EXPECT_EQ(copy.regexMode, 1);
  EXPECT_EQ(source.regexMode, 7) << "the source keeps its number";
}

TEST(ProgramSettings, ResetToDefaultsKeepsTheBackupDirectory) {
  ProgramSettings s;
  FillNonDefaults(s);
  s.regexMode = 1;
  ResetToDefaults(s);
  EXPECT_EQ(s.backupDirectory, u"C:\\backup");
  s.backupDirectory.clear();
  ExpectDefaults(s);
}
