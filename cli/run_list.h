// The lines of --runs: one per run that can be undone, newest first.
#pragma once

#include <vector>

#include "cli/result_lines.h"
#include "processing/backup/backup_runs.h"

// Text: time, search path, files and state, tab-separated. JSON: an object with "run", "path",
// "files", "state" and "folder" (the run's backup folder).
void WriteRunList(const std::vector<RunFolder>& runs, bool json, const TextSink& write);
