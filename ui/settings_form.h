// What the settings dialog's controls show, and how their values become settings on OK.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "text/program_settings.h"

struct SettingsForm {
  // General
  bool searchHidden = false;
  bool replaceReadOnly = false;
  bool keepFileDate = false;
  bool trimTrailingNewLines = false;
  bool searchOnlineOnly = false;
  std::u16string editorCommand;
  bool skipBinaryFiles = false;
  // Results
  std::u16string maxFilesShown;  // the digits of the edit field
  bool saveErrorLog = false;
  std::u16string logDirectory;
  int logTypeIndex = -1;  // 0 Text, 1 HTML, -1 none selected
  // Text: the code page of the selected list item; none when nothing is selected
  std::optional<std::int32_t> inputCodePage;
  std::optional<std::int32_t> outputCodePage;
  std::int32_t newLineMode = kNewLineAsInFile;
  // Restore
  bool makeBackup = false;
  std::u16string backupDirectory;
  // Filters
  bool useByteOrderMarks = false;
  std::u16string minFileSize;
  std::u16string maxFileSize;
  std::u16string modifiedAfter;
  std::u16string modifiedBefore;
};

// The form for a settings copy. The copy's directories are trimmed of white space; an empty one
// shows `defaultDirectory`.
SettingsForm FormFromSettings(ProgramSettings& copy, const std::u16string& defaultDirectory);

enum class SettingsFormError {
  None,
  LogDirectoryMissing,     // the error log is on and its folder does not exist
  BackupDirectoryMissing,  // the backup is on and its folder does not exist
  LimitMalformed,          // a size or date limit does not parse
};

// Takes the form over into the copy, unless a checked directory does not exist or a limit does
// not parse (`message` then tells which); then the copy is left as it was. A directory is only taken over while its box is checked; a code page with no
// selection keeps its value; the number of files is capped at 1,000,000.
SettingsFormError ApplySettingsForm(const SettingsForm& form, ProgramSettings& copy,
                                    const std::function<bool(const std::u16string&)>& pathExists,
                                    std::u16string* message = nullptr);

// The decimal value of a digits field: leading digits only, capped at 1,000,000.
std::int32_t ParseFileLimit(const std::u16string& digits);
