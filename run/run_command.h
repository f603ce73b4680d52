// The checks of the Run command: the main dialog's fields and settings become a checked
// RunParameters record, or one message tells the user what is wrong.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "run/prompt.h"
#include "run/record/run_parameters.h"
#include "text/program_settings.h"

class RunChannel;
struct RegexProgram;

// The fields of the main dialog as Run reads them; a check box counts only when exactly checked.
struct RunFields {
  std::u16string searchPaths;               // Search path (IDC_SEARCH_PATH)
  std::u16string masks;                     // Search masks (IDC_MASKS)
  std::u16string exclusions;                // Exclude (IDC_EXCLUDE); blank: nothing excluded
  ActionType action = ActionType::Replace;  // selection of Action type (IDC_ACTION)
  bool includeSubfolders = false;           // IDC_INCLUDE_SUBFOLDERS
  bool caseSensitive = false;               // IDC_CASE_SENSITIVE
  bool confirmReplace = false;              // IDC_CONFIRM_REPLACE
  bool renameMode = false;                  // IDC_RENAME_MODE
  bool useRegex = false;                    // IDC_USE_REGEX
  bool useVariables = false;                // IDC_USE_VARIABLES
  bool preview = false;                     // shows the changes instead of making them
  std::u16string findText;                  // Text to find/replace (IDC_FIND_TEXT)
  std::u16string replaceText;               // Replace with text (IDC_REPLACE_TEXT)
};

// The pattern and variable checks, supplied by the dialog. Unset, both pass.
struct RunChecks {
  // Compiles the pattern into the dialog's own program: on success `program` points at it; on
  // failure `message` receives the text to show.
  std::function<bool(const std::u16string& pattern, bool caseSensitive,
                     const RegexProgram*& program, std::u16string& message)>
      compilePattern;
  // Expands the variables of a copy of the find text, then of the replacement text, with no run
  // and no file; on failure the copy holds the error text.
  std::function<bool(std::u16string& text)> checkVariables;
};

struct RunCommandContext {
  const ProgramSettings& settings;  // the dialog's own settings
  std::vector<std::u16string>& recentFolders;
  Prompt& prompt;
  const RunChecks& checks;
  RunChannel* targetWindow;
  void* ownerDialog;
};

inline constexpr size_t kMaxRecentFolders = 10;

// Fills and checks the record, in the Run command's order. On the first failing check shows its
// message and returns false; a question answered Cancel also returns false.
bool PrepareRun(const RunFields& fields, RunCommandContext& context, RunParameters& parameters);

// Puts a path at the front of the recent folders unless an equal one is there already; the
// oldest entry beyond the tenth drops out.
void RecordRecentFolder(std::vector<std::u16string>& recentFolders, const std::u16string& path);
