// All options of one run: filled and checked by Run, read by the worker for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run/run_types.h"
#include "text/program_settings.h"

class RunChannel;
struct RegexProgram;

struct RunParameters {
  RunParameters() = default;
  RunParameters(const RunParameters&) = delete;
  RunParameters& operator=(const RunParameters&) = delete;

  ActionType action = ActionType::Replace;
  // The standing answer of the confirmation request; the only field the worker writes.
  ConfirmAnswer confirmState = ConfirmAnswer::Ask;
  ProgramSettings settings;
  std::uint32_t resultMessage = 1026;
  std::uint32_t confirmMessage = 1027;
  bool includeSubfolders = false;
  bool caseSensitive = false;
  bool confirmReplace = false;
  bool renameMode = false;
  bool useRegex = false;
  bool useVariables = false;
  // Receiver of the worker's results and questions.
  RunChannel* targetWindow = nullptr;
  // Parent for windows the worker creates (on Windows the main dialog's window handle, which
  // owns the shell's deletion to the recycle bin); opaque to the core, null in tests.
  void* ownerDialog = nullptr;
  // The compiled find pattern when useRegex, else null.
  const RegexProgram* regex = nullptr;
  std::u16string findText;
  std::u16string replaceText;
  std::vector<std::u16string> searchPaths;
  std::vector<std::u16string> masks;
  // Bytes of match lines kept so far in the run (processing/match_lines.h); the worker's.
  std::size_t matchLineBytes = 0;
};

// Whether file processing expands the variables of the find text: content runs only.
inline bool ExpandsFindVariables(const RunParameters& parameters) {
  return parameters.useVariables && !parameters.renameMode;
}

// Whether it expands those of the replacement: plain-text content runs whose action uses it
// (the match driver of a pattern takes the replacement as typed).
inline bool ExpandsReplaceVariables(const RunParameters& parameters) {
  return ExpandsFindVariables(parameters) && !parameters.useRegex &&
         UsesReplacement(parameters.action);
}
