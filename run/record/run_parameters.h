// All options of one run: filled and checked by Run, read by the worker for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/calendar_time.h"
#include "run/record/file_limits.h"
#include "run/record/run_types.h"
#include "text/program_settings.h"

class BackupStore;
class RunChannel;
struct RegexProgram;

// The names a preview has given files and taken from them, which the disk does not show.
struct PreviewNames {
  std::unordered_set<std::u16string> given;
  std::unordered_set<std::u16string> freed;
};

// A file as a preview saw it; an apply passes over the file when it is no longer so.
struct PreviewedFile {
  std::uint64_t size = 0;
  CalendarTime modified;
  // XXH3 of the bytes as read, when the preview changed the content.
  std::uint64_t contentHash = 0;
  bool hasHash = false;
};

// The files an apply changes, by full path, each as its preview saw it.
using AppliedFiles = std::unordered_map<std::u16string, PreviewedFile>;

struct RunParameters {
  RunParameters() = default;
  RunParameters(const RunParameters&) = delete;
  RunParameters& operator=(const RunParameters&) = delete;

  ActionType action = ActionType::Replace;
  // The standing answer of the confirmation request; the only field the worker writes.
  ConfirmAnswer confirmState = ConfirmAnswer::Ask;
  ProgramSettings settings;
  std::uint32_t resultMessage = kRunResultMessage;
  std::uint32_t confirmMessage = kRunConfirmMessage;
  bool includeSubfolders = false;
  bool caseSensitive = false;
  bool confirmReplace = false;
  bool renameMode = false;
  bool useRegex = false;
  bool useVariables = false;
  // A preview: every check, read, match and change is made as in a run, but no file is written,
  // renamed, deleted or backed up; each file's planned change goes into its preview instead.
  bool preview = false;
  // In a preview, the names so far; kept by the worker for the run.
  PreviewNames* previewNames = nullptr;
  // An apply: the walk processes these files only, and none that changed since the preview.
  const AppliedFiles* applyOnly = nullptr;
  // Receiver of the worker's results and questions.
  RunChannel* targetWindow = nullptr;
  // Parent for windows the worker creates (on Windows the main dialog's window handle, which
  // owns the shell's deletion to the recycle bin); opaque to the core, null in tests.
  void* ownerDialog = nullptr;
  // Where file processing backs up each file before changing it; null without backups.
  BackupStore* backup = nullptr;
  // Set by the worker: a changed file's backup is only staged, and its write waits in the
  // outcome for the worker to make a batch of backups durable at once.
  bool batchWrites = false;
  // The compiled find pattern when useRegex, else null.
  const RegexProgram* regex = nullptr;
  std::u16string findText;
  std::u16string replaceText;
  std::vector<std::u16string> searchPaths;
  std::vector<std::u16string> masks;
  // Bytes of match lines kept so far in the run (processing/match_lines.h); the worker's.
  std::size_t matchLineBytes = 0;
  // The Exclude field's items, and the size and date limits: what the walk passes over.
  std::vector<std::u16string> exclusions;
  FileLimits limits;
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

// How the apply's preview saw the file, or null when the run is no apply.
inline const PreviewedFile* PreviewedAs(const RunParameters& parameters,
                                        const std::u16string& path) {
  if (!parameters.applyOnly)
    return nullptr;
  const auto found = parameters.applyOnly->find(path);
  return found == parameters.applyOnly->end() ? nullptr : &found->second;
}
