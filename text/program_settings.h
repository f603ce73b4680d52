// The user's program settings: edited by the settings dialog, kept by the settings store and
// copied into every run.
#pragma once

#include <cstdint>
#include <string>

#include "text/code_page_catalogue.h"

// Line breaks of the replacement text.
enum NewLineMode : std::int32_t {
  kNewLineCrLf = 1,
  kNewLineLf = 2,
  kNewLineAsInFile = 3,
  kNewLineCr = 4,
};

enum LogType : std::int32_t {
  kLogText = 1,
  kLogHtml = 2,
};

// The largest file limit (maxFilesShown) the user can enter.
inline constexpr std::int32_t kMaxFileLimit = 1000000;

struct ProgramSettings {
  ProgramSettings() = default;
  // A record is only ever copied field by field with CopySettings.
  ProgramSettings(const ProgramSettings&) = delete;
  ProgramSettings& operator=(const ProgramSettings&) = delete;

  std::int32_t searchHidden = 1;
  std::int32_t replaceReadOnly = 0;
  std::int32_t keepFileDate = 0;
  std::int32_t trimTrailingNewLines = 1;
  std::int32_t inputCodePage = 0;
  std::int32_t outputCodePage = 0;
  std::int32_t newLineMode = kNewLineAsInFile;
  std::int32_t regexMode = 1;
  std::int32_t maxFilesShown = 0;
  std::int32_t saveErrorLog = 0;
  std::int32_t makeBackup = 1;
  std::u16string logDirectory;
  std::u16string backupDirectory;
  std::int32_t logType = kLogText;
  // Whether content runs read files whose data is only online (reading downloads them).
  std::int32_t searchOnlineOnly = 0;
  // Whether content runs pass over files whose first bytes hold a zero byte.
  std::int32_t skipBinaryFiles = 1;
  // Whether a file starting with a UTF-8 or UTF-16 byte order mark is read and written in that
  // encoding, whatever the code pages.
  std::int32_t useByteOrderMarks = 1;
  // The limits of the files a run takes, as typed (see run/file_limit_checks.h); empty: none.
  std::u16string minFileSize;
  std::u16string maxFileSize;
  std::u16string modifiedAfter;
  std::u16string modifiedBefore;
  // The command line that opens a file at a line (ExpandEditorCommand); empty for the file
  // type's "edit" verb.
  std::u16string editorCommand;
  // Built with every record; never copied and never stored.
  CodePageCatalogue catalogue;
};

// Copies every user setting from source to destination, then sets the destination's regexMode
// to 1, its only meaningful value.
void CopySettings(const ProgramSettings& source, ProgramSettings& destination);

// "Reset All Settings": every user setting back to its default, except backupDirectory, which
// keeps its value, and regexMode.
void ResetToDefaults(ProgramSettings& settings);
