#include "ui/settings_form.h"

#include <string>

#include "platform/clock.h"
#include "run/file_limit_checks.h"
#include "text/quoted_list.h"
#include "text/text_format.h"

namespace {

std::u16string Trimmed(const std::u16string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsListBlank(text[first]))
    ++first;
  while (last > first && IsListBlank(text[last - 1]))
    --last;
  return text.substr(first, last - first);
}

}  // namespace

std::int32_t ParseFileLimit(const std::u16string& digits) {
  std::int32_t value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9')
      break;
    value = value * 10 + (c - u'0');
    if (value >= kMaxFileLimit)
      return kMaxFileLimit;
  }
  return value;
}

SettingsForm FormFromSettings(ProgramSettings& copy, const std::u16string& defaultDirectory) {
  SettingsForm form;
  form.searchHidden = copy.searchHidden != 0;
  form.replaceReadOnly = copy.replaceReadOnly != 0;
  form.keepFileDate = copy.keepFileDate != 0;
  form.trimTrailingNewLines = copy.trimTrailingNewLines != 0;
  form.searchOnlineOnly = copy.searchOnlineOnly != 0;
  form.editorCommand = copy.editorCommand;
  form.skipBinaryFiles = copy.skipBinaryFiles != 0;
  form.useByteOrderMarks = copy.useByteOrderMarks != 0;
  form.minFileSize = copy.minFileSize;
  form.maxFileSize = copy.maxFileSize;
  form.modifiedAfter = copy.modifiedAfter;
  form.modifiedBefore = copy.modifiedBefore;
  form.maxFilesShown = AsciiToText(std::to_string(copy.maxFilesShown));
  form.saveErrorLog = copy.saveErrorLog != 0;
  copy.logDirectory = Trimmed(copy.logDirectory);
  form.logDirectory = copy.logDirectory.empty() ? defaultDirectory : copy.logDirectory;
  form.logTypeIndex = copy.logType == kLogText ? 0 : copy.logType == kLogHtml ? 1 : -1;
  if (copy.catalogue.Find(copy.inputCodePage))
    form.inputCodePage = copy.inputCodePage;
  if (copy.catalogue.Find(copy.outputCodePage))
    form.outputCodePage = copy.outputCodePage;
  form.newLineMode = copy.newLineMode == kNewLineCrLf || copy.newLineMode == kNewLineLf ||
                             copy.newLineMode == kNewLineCr
                         ? copy.newLineMode
                         : kNewLineAsInFile;
  form.makeBackup = copy.makeBackup != 0;
  copy.backupDirectory = Trimmed(copy.backupDirectory);
  form.backupDirectory = copy.backupDirectory.empty() ? defaultDirectory : copy.backupDirectory;
  return form;
}

SettingsFormError ApplySettingsForm(const SettingsForm& form, ProgramSettings& copy,
                                    const std::function<bool(const std::u16string&)>& pathExists,
                                    std::u16string* message) {
  if (form.saveErrorLog && !pathExists(form.logDirectory))
    return SettingsFormError::LogDirectoryMissing;
  if (form.makeBackup && !pathExists(form.backupDirectory))
    return SettingsFormError::BackupDirectoryMissing;
  FileLimits limits;
  std::u16string limitMessage;
  if (!ParseFileLimits({form.minFileSize, form.maxFileSize, form.modifiedAfter,
                        form.modifiedBefore},
                       platform::LocalCalendarTime(platform::CurrentFileTime()), limits, limitMessage)) {
    if (message)
      *message = std::move(limitMessage);
    return SettingsFormError::LimitMalformed;
  }

  if (form.saveErrorLog)
    copy.logDirectory = form.logDirectory;
  copy.searchHidden = form.searchHidden;
  copy.replaceReadOnly = form.replaceReadOnly;
  copy.keepFileDate = form.keepFileDate;
  copy.trimTrailingNewLines = form.trimTrailingNewLines;
  copy.searchOnlineOnly = form.searchOnlineOnly;
  copy.editorCommand = form.editorCommand;
  copy.skipBinaryFiles = form.skipBinaryFiles;
  copy.useByteOrderMarks = form.useByteOrderMarks;
  copy.minFileSize = Trimmed(form.minFileSize);
  copy.maxFileSize = Trimmed(form.maxFileSize);
  copy.modifiedAfter = Trimmed(form.modifiedAfter);
  copy.modifiedBefore = Trimmed(form.modifiedBefore);
  copy.maxFilesShown = ParseFileLimit(form.maxFilesShown);
  copy.saveErrorLog = form.saveErrorLog;
  if (form.logTypeIndex == 0)
    copy.logType = kLogText;
  if (form.logTypeIndex == 1)
    copy.logType = kLogHtml;
  copy.newLineMode = form.newLineMode;
  if (form.inputCodePage)
    copy.inputCodePage = *form.inputCodePage;
  if (form.outputCodePage)
    copy.outputCodePage = *form.outputCodePage;
  if (form.makeBackup)
    copy.backupDirectory = form.backupDirectory;
  copy.makeBackup = form.makeBackup;
  return SettingsFormError::None;
}
