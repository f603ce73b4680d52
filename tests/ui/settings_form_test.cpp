#include "ui/settings_form.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct FakeFolders {
  std::set<std::u16string> existing;
  bool operator()(const std::u16string& path) const { return existing.count(path) > 0; }
};

}  // namespace

TEST(SettingsForm, FreshSettingsShowTheDefaultsAndTheDefaultFolder) {
  ProgramSettings copy;
  SettingsForm form = FormFromSettings(copy, u"C:\\AppData\\VOXA");
  EXPECT_TRUE(form.searchHidden);
  EXPECT_FALSE(form.replaceReadOnly);
  EXPECT_FALSE(form.keepFileDate);
  EXPECT_TRUE(form.trimTrailingNewLines);
  EXPECT_EQ(form.maxFilesShown, u"0");
  EXPECT_FALSE(form.saveErrorLog);
  EXPECT_EQ(form.logDirectory, u"C:\\AppData\\VOXA");
  EXPECT_EQ(form.logTypeIndex, 0);
  EXPECT_EQ(form.inputCodePage, 0);
  EXPECT_EQ(form.outputCodePage, 0);
  EXPECT_EQ(form.newLineMode, 3);
  EXPECT_TRUE(form.makeBackup);
  EXPECT_EQ(form.backupDirectory, u"C:\\AppData\\VOXA");
  EXPECT_EQ(copy.logDirectory, u"") << "the default is only shown";
}

TEST(SettingsForm, DirectoriesAreTrimmedInTheCopy) {
  ProgramSettings copy;
  copy.logDirectory = u"  C:\\Logs\t";
  SettingsForm form = FormFromSettings(copy, u"D");
  EXPECT_EQ(copy.logDirectory, u"C:\\Logs");
  EXPECT_EQ(form.logDirectory, u"C:\\Logs");
  copy.logDirectory = u"   ";
  EXPECT_EQ(FormFromSettings(copy, u"D").logDirectory, u"D");
}

TEST(SettingsForm, MissingLogFolderChangesNothing) {
  ProgramSettings copy;
  copy.makeBackup = 0;
  SettingsForm form = FormFromSettings(copy, u"C:\\AppData\\VOXA");
  form.saveErrorLog = true;
  form.logDirectory = u"C:\\Nowhere";
  form.keepFileDate = true;
  EXPECT_EQ(ApplySettingsForm(form, copy, FakeFolders{}), SettingsFormError::LogDirectoryMissing);
  EXPECT_EQ(copy.keepFileDate, 0);
  EXPECT_EQ(copy.saveErrorLog, 0);
}

TEST(SettingsForm, StoredBackupFolderThatVanishedStopsOk) {
  ProgramSettings copy;
  copy.backupDirectory = u"C:\\Gone";
  SettingsForm form = FormFromSettings(copy, u"C:\\AppData\\VOXA");
  EXPECT_EQ(ApplySettingsForm(form, copy, FakeFolders{{u"C:\\AppData\\VOXA"}}),
            SettingsFormError::BackupDirectoryMissing);
}

TEST(SettingsForm, OkTakesEveryFieldOver) {
  ProgramSettings copy;
  SettingsForm form = FormFromSettings(copy, u"C:\\AppData\\VOXA");
  form.searchHidden = false;
  form.replaceReadOnly = true;
  form.keepFileDate = true;
  form.trimTrailingNewLines = false;
  form.searchOnlineOnly = true;
  form.maxFilesShown = u"25";
  form.saveErrorLog = true;
  form.logTypeIndex = 1;
  form.inputCodePage = 1252;
  form.outputCodePage = 65001;
  form.newLineMode = 4;
  FakeFolders folders{{u"C:\\AppData\\VOXA"}};
  ASSERT_EQ(ApplySettingsForm(form, copy, folders), SettingsFormError::None);
  EXPECT_EQ(copy.searchHidden, 0);
  EXPECT_EQ(copy.replaceReadOnly, 1);
  EXPECT_EQ(copy.keepFileDate, 1);
  EXPECT_EQ(copy.trimTrailingNewLines, 0);
  EXPECT_EQ(copy.searchOnlineOnly, 1);
  EXPECT_EQ(copy.maxFilesShown, 25);
  EXPECT_EQ(copy.saveErrorLog, 1);
  EXPECT_EQ(copy.logDirectory, u"C:\\AppData\\VOXA") << "the shown default becomes the setting";
  EXPECT_EQ(copy.logType, 2);
  EXPECT_EQ(copy.inputCodePage, 1252);
  EXPECT_EQ(copy.outputCodePage, 65001);
  EXPECT_EQ(copy.newLineMode, 4);
  EXPECT_EQ(copy.backupDirectory, u"C:\\AppData\\VOXA");
}

TEST(SettingsForm, SwitchedOffFoldersAndUnknownCodePagesKeepTheirValues) {
  ProgramSettings copy;
  copy.logDirectory = u"C:\\Old";
  copy.inputCodePage = 4242;  // not in the catalogue: nothing selected
  copy.makeBackup = 0;
  SettingsForm form = FormFromSettings(copy, u"D");
  EXPECT_FALSE(form.inputCodePage.has_value());
  form.logDirectory = u"C:\\New";
  ASSERT_EQ(ApplySettingsForm(form, copy, FakeFolders{}), SettingsFormError::None);
  EXPECT_EQ(copy.logDirectory, u"C:\\Old");
  EXPECT_EQ(copy.inputCodePage, 4242);
}

TEST(SettingsForm, FileLimitIsCappedAndReadFromLeadingDigits) {
  EXPECT_EQ(ParseFileLimit(u""), 0);
  EXPECT_EQ(ParseFileLimit(u"007"), 7);
  EXPECT_EQ(ParseFileLimit(u"1000000"), 1000000);
  EXPECT_EQ(ParseFileLimit(u"99999999999999"), 1000000);
  EXPECT_EQ(ParseFileLimit(u"12ab"), 12);
}

TEST(SettingsForm, MalformedLimitChangesNothingAndSaysWhich) {
  ProgramSettings copy;
  copy.makeBackup = 0;
  SettingsForm form = FormFromSettings(copy, u"C:\\AppData\\VOXA");
  form.skipBinaryFiles = false;
  form.minFileSize = u" 2K ";
  form.modifiedBefore = u"last week";
  std::u16string message;
  EXPECT_EQ(ApplySettingsForm(form, copy, FakeFolders{}, &message),
            SettingsFormError::LimitMalformed);
  EXPECT_EQ(message.substr(0, 24), u"Not a date: \"last week\".");
  EXPECT_EQ(copy.skipBinaryFiles, 1);
  form.modifiedBefore = u"2w";
  ASSERT_EQ(ApplySettingsForm(form, copy, FakeFolders{}), SettingsFormError::None);
  EXPECT_EQ(copy.skipBinaryFiles, 0);
  EXPECT_EQ(copy.minFileSize, u"2K");
  EXPECT_EQ(copy.modifiedBefore, u"2w");
}
