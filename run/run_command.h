// The checks of the Run command: the main dialog's fields and settings become a checked
// RunParameters record, or one message tells the user what is wrong.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "run/prompt.h"
#include "run/run_parameters.h"
#include "text/program_settings.h"

class RunChannel;
struct RegexProgram;

// The fields of the main dialog as Run reads them; a check box counts only when exactly checked.
struct RunFields {
  std::u16string searchPaths;               // Search path (1025)
  std::u16string masks;                     // Search masks (1020)
  ActionType action = ActionType::Replace;  // selection of Action type (1007)
  bool includeSubfolders = false;           // 1011
  bool caseSensitive = false;               // 1012
  bool confirmReplace = false;              // 1013
  bool renameMode = false;                  // 1014
  bool useRegex = false;                    // 1066
  bool useVariables = false;                // 1067
  bool preview = false;                     // shows the changes instead of making them
  std::u16string findText;                  // Text to find/replace (1005)
  std::u16string replaceText;               // Replace with text (1008)
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
