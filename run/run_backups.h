// The run's side of backups: a store for each changing run, and Undo and crash recovery as
// jobs of the worker that report each file like a run.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "processing/backup/backup_runs.h"
#include "processing/backup/backup_store.h"
#include "processing/backup/run_restore.h"
#include "run/record/run_parameters.h"
#include "run/search_worker.h"
#include "text/program_settings.h"

// The store of a run that may change files with backups on; null otherwise.
std::unique_ptr<BackupStore> MakeRunBackup(const RunParameters& parameters);

// The folder of all runs' backups under the settings.
std::u16string BackupRootOf(const ProgramSettings& settings);

// "Undo the run of <time> in <path>: N files?"
std::u16string UndoQuestion(const RunFolder& run);
// Recovery's two questions: the files that may be half-written, then the others (which says
// the run was interrupted when no file may be half-written).
std::u16string RecoverQuestion(const RunFolder& run);
std::u16string RecoverRestQuestion(const RunFolder& run);
// The number of files whose change may not have completed.
int HalfDoneFileCount(const RunJournal& journal);

// What an undo job takes back: the entries whose change may be half done, the others, or both.
struct UndoScope {
  bool halfDone = true;
  bool rest = true;
};

// The job: takes back the entries in scope, newest first, and reports each file. Finishing the
// whole run marks it undone; recovery that leaves the rest marks it ended. A stop leaves the
// journal as far as it got, and the run can be undone again.
SearchWorker::Job MakeUndoJob(RunRestore& restore, UndoScope scope);
