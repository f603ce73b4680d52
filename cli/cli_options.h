// The console front end's command line: one run's fields and settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/run_command.h"
#include "text/program_settings.h"

// The settings a command line can give; unset ones keep the program settings' defaults.
struct CliSettings {
  std::int32_t searchHidden = 1;
  std::int32_t replaceReadOnly = 0;
  std::int32_t keepFileDate = 0;
  std::int32_t trimTrailingNewLines = 1;
  std::int32_t inputCodePage = 0;
  std::optional<std::int32_t> outputCodePage;  // unset: the same as the input code page
  std::int32_t newLineMode = kNewLineAsInFile;
  std::int32_t maxFilesShown = 0;
  std::optional<std::u16string> logDirectory;  // set: the error log is on
  std::int32_t logType = kLogText;
  bool searchOnlineOnly = false;  // --online-files
  std::int32_t skipBinaryFiles = 1;    // --binary skip|search
  std::int32_t useByteOrderMarks = 1;  // --bom auto|ignore
  // --min-size, --max-size, --newer, --older, as given (checked by the parser)
  std::u16string minFileSize;
  std::u16string maxFileSize;
  std::u16string modifiedAfter;
  std::u16string modifiedBefore;
  std::int32_t makeBackup = 1;    // --backup
  std::u16string backupDirectory;  // --backup-dir; empty: the user's data folder
};

// What the command line asks for besides a run.
enum class CliCommand {
  Run,
  Undo,     // --undo: take back the latest run
  Runs,     // --runs: list the runs that can be undone
  Recover,  // --recover: restore the files of an interrupted run
};

enum class ColorChoice { Auto, Always, Never };

struct CliOptions {
  CliCommand command = CliCommand::Run;
  RunFields fields;
  std::optional<std::u16string> findFile;     // --find-file: the find text is read from it
  std::optional<std::u16string> replaceFile;  // --replace-file
  CliSettings settings;
  bool yes = false;   // --yes: warning questions proceed
  bool json = false;  // --json: JSON lines
  bool count = false;  // --count: a file's number of matches, not their positions
  // --preview (in fields.preview): -U, lines of context around each change, and --color.
  std::int32_t context = 3;
  ColorChoice color = ColorChoice::Auto;
  // Set when the path argument was mended; printed on standard error before the run.
  std::u16string pathNote;
};

enum class CliParse {
  Run,      // options complete
  Exit,     // help or version printed into `text`; exit 0
  Refused,  // `text` says why; exit 2
};

// Parses the arguments after the program name, given in UTF-8; the paths of --path, --log,
// --find-file and --replace-file keep any other bytes, as names do (see NameBytesToUtf16).
CliParse ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                         std::string& text);

// Copies the command line's settings into a settings record.
void ApplyCliSettings(const CliSettings& source, ProgramSettings& settings);
