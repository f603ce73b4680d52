#include "text/program_settings.h"

void CopySettings(const ProgramSettings& source, ProgramSettings& destination) {
  destination.searchHidden = source.searchHidden;
  destination.replaceReadOnly = source.replaceReadOnly;
  destination.keepFileDate = source.keepFileDate;
  destination.trimTrailingNewLines = source.trimTrailingNewLines;
  destination.inputCodePage = source.inputCodePage;
  destination.outputCodePage = source.outputCodePage;
  destination.newLineMode = source.newLineMode;
  destination.regexMode = source.regexMode;
  destination.maxFilesShown = source.maxFilesShown;
  destination.saveErrorLog = source.saveErrorLog;
  destination.makeBackup = source.makeBackup;
  destination.logDirectory = source.logDirectory;
  destination.backupDirectory = source.backupDirectory;
  destination.logType = source.logType;
  destination.searchOnlineOnly = source.searchOnlineOnly;
  destination.skipBinaryFiles = source.skipBinaryFiles;
  destination.useByteOrderMarks = source.useByteOrderMarks;
  destination.minFileSize = source.minFileSize;
  destination.maxFileSize = source.maxFileSize;
  destination.modifiedAfter = source.modifiedAfter;
  destination.modifiedBefore = source.modifiedBefore;
  destination.editorCommand = source.editorCommand;
  destination.regexMode = 1;
}

void ResetToDefaults(ProgramSettings& settings) {
  const ProgramSettings defaults;
  std::u16string backupDirectory = std::move(settings.backupDirectory);
  std::int32_t regexMode = settings.regexMode;
  CopySettings(defaults, settings);
  settings.backupDirectory = std::move(backupDirectory);
  settings.regexMode = regexMode;
}
